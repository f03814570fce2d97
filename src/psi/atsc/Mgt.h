#pragma once
// The ATSC master guide table.
#include <vector>

#include "psi/atsc/MgtSection.h"
#include "psi/ts/PsiTable.h"

class CMgt : public CPsiTable {
 public:
  void Reset() override;

  std::vector<MgtTableType> tables;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
