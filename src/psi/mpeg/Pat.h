#pragma once
// The program association table: all programs of the transport stream.
#include <vector>

#include "psi/mpeg/PatSection.h"
#include "psi/ts/PsiTable.h"

class CPat : public CPsiTable {
 public:
  void Reset() override;

  uint16_t transport_stream_id = 0xFFFF;
  std::vector<PatProgram> programs;  // all sections' loops in arrival order

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
