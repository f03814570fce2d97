#pragma once
// The ATSC virtual channel table.
#include <vector>

#include "psi/atsc/VctSection.h"
#include "psi/ts/PsiTable.h"

class CVct : public CPsiTable {
 public:
  void Reset() override;

  uint16_t transport_stream_id = 0xFFFF;
  std::vector<VctChannel> channels;
  CDescriptors descriptors;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
