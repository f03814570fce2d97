#pragma once
// One section of a service description table.
#include <cstdint>
#include <utility>
#include <vector>

#include "psi/descriptors/Descriptors.h"
#include "psi/ts/PsiSection.h"

struct SdtService {
  uint16_t service_id = 0;
  uint8_t eit_schedule_flag = 0;
  uint8_t eit_present_following_flag = 0;
  uint8_t running_status = 0;
  uint8_t free_ca_mode = 0;
  uint16_t descriptors_loop_length = 0;
  CDescriptors descriptors;
};

// (original_network_id, transport_stream_id)
using SdtKey = std::pair<uint16_t, uint16_t>;

class CSdtSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;
  SdtKey Key() const { return {original_network_id, transport_stream_id}; }
  // Key() from the bytes of a section whose header was checked.
  static SdtKey KeyOf(const uint8_t* data) { return {ReadUInt16At(data + 8), ReadUInt16At(data + 3)}; }

  uint16_t transport_stream_id = 0;
  uint16_t original_network_id = 0;
  std::vector<SdtService> services;
};
