#pragma once
// One section as a collector keeps it: its source PID, table_id and bytes.
#include <cstdint>
#include <vector>

struct PsiSectionRecord {
  uint16_t pid = 0;
  uint8_t tableId = 0;
  std::vector<uint8_t> data;
};
