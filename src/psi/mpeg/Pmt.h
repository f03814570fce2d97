#pragma once
// The program map table of one program. CPmtDvb and CPmtAtsc fix the descriptor context.
#include <vector>

#include "psi/mpeg/PmtSection.h"
#include "psi/ts/PsiTable.h"

class CPmt : public CPsiTable {
 public:
  explicit CPmt(DescriptorContext descriptorContext) : context(descriptorContext) {}
  void Reset() override;

  const DescriptorContext context;
  uint16_t program_number = 0xFFFF;
  uint16_t pcr_pid = 0xFFFF;
  std::vector<PmtStream> streams;
  CDescriptors descriptors;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
