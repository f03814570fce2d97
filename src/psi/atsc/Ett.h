#pragma once
// The ATSC extended text table of one ETM_id.
#include "psi/atsc/EttSection.h"
#include "psi/ts/PsiTable.h"

class CEtt : public CPsiTable {
 public:
  void Reset() override;

  uint32_t etm_id = 0;
  EttText text;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
