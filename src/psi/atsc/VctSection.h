#pragma once
// One section of an ATSC virtual channel table (terrestrial or cable form).
#include <array>
#include <cstdint>
#include <vector>

#include "psi/descriptors/Descriptors.h"
#include "psi/ts/PsiSection.h"

struct VctChannel {
  std::array<uint8_t, 14> short_name{};  // seven UTF-16BE code units
  uint16_t major_channel_number = 0;
  uint16_t minor_channel_number = 0;
  uint8_t modulation_mode = 0;
  uint32_t carrier_frequency = 0;
  uint16_t channel_tsid = 0;
  uint16_t program_number = 0;
  uint8_t access_controlled = 0;  // the channel's events are scrambled
  uint8_t service_type = 0;
  uint16_t source_id = 0;
  CDescriptors descriptors;
};

class CVctSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;

  uint16_t transport_stream_id = 0xFFFF;
  std::vector<VctChannel> channels;
  CDescriptors descriptors;  // additional descriptors
};
