#pragma once
// The SDT sections of one transport stream.
#include <vector>

#include "psi/dvb/SdtSection.h"
#include "psi/ts/PsiTable.h"

class CSdtSubtable : public CPsiTable {
 public:
  void Reset() override;

  uint16_t transport_stream_id = 0;
  uint16_t original_network_id = 0;
  std::vector<SdtService> services;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
