#pragma once
// One section of a program map table.
#include <cstdint>
#include <vector>

#include "psi/descriptors/Descriptors.h"
#include "psi/ts/PsiSection.h"

struct PmtStream {
  uint8_t stream_type = 0;
  uint16_t elementary_pid = 0;
  CDescriptors descriptors;  // ES_info loop
};

class CPmtSection : public CPsiSection {
 public:
  explicit CPmtSection(DescriptorContext descriptorContext) : context(descriptorContext) {}
  bool Parse(const uint8_t* data, uint32_t length) override;

  DescriptorContext context;
  uint16_t program_number = 0xFFFF;
  uint16_t pcr_pid = 0xFFFF;
  std::vector<PmtStream> streams;
  CDescriptors descriptors;  // program_info loop
};
