#pragma once
// The NIT sections of one network.
#include <vector>

#include "psi/dvb/NitSection.h"
#include "psi/ts/PsiTable.h"

class CNitSubtable : public CPsiTable {
 public:
  void Reset() override;

  uint16_t network_id = 0;
  CDescriptors descriptors;
  std::vector<NitTransportStream> transport_streams;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
};
