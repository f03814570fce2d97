#pragma once
// The ATSC event information table of one source.
#include <vector>

#include "psi/atsc/EitAtscSection.h"
#include "psi/ts/PsiTable.h"

class CEitAtsc : public CPsiTable {
 public:
  void Reset() override;

  uint16_t source_id = 0xFFFF;
  std::vector<EitAtscEvent> events;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
