#pragma once
// One section of the ATSC master guide table: which PID carries which PSIP table.
#include <cstdint>
#include <vector>

#include "psi/ts/PsiSection.h"

struct MgtTableType {
  uint16_t table_type = 0;  // 0x0100-0x017F EIT-0..127, 0x0200-0x027F ETT-0..127, ...
  uint16_t pid = 0;
};

class CMgtSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;

  std::vector<MgtTableType> tables;
};
