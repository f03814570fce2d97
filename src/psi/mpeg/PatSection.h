#pragma once
// One section of the program association table.
#include <cstdint>
#include <vector>

#include "psi/ts/PsiSection.h"

struct PatProgram {
  uint16_t program_number = 0;
  uint16_t pid = 0;  // program_map_PID, or network_PID for program 0
};

class CPatSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;

  uint16_t transport_stream_id = 0xFFFF;
  std::vector<PatProgram> programs;
};
