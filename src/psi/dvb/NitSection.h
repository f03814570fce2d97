#pragma once
// One section of a network information table.
#include <cstdint>
#include <vector>

#include "psi/descriptors/Descriptors.h"
#include "psi/ts/PsiSection.h"

struct NitTransportStream {
  uint16_t transport_stream_id = 0;
  uint16_t original_network_id = 0;
  CDescriptors descriptors;
};

class CNitSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;
  uint16_t Key() const { return network_id; }
  // Key() from the bytes of a section whose header was checked.
  static uint16_t KeyOf(const uint8_t* data) { return ReadUInt16At(data + 3); }

  uint16_t network_id = 0;
  CDescriptors descriptors;  // network descriptor loop
  std::vector<NitTransportStream> transport_streams;
};
