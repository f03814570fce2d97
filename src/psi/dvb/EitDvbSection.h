#pragma once
// One section of a DVB event information table.
#include <array>
#include <cstdint>
#include <tuple>
#include <vector>

#include "psi/descriptors/Descriptors.h"
#include "psi/ts/PsiSection.h"

struct EitDvbEvent {
  uint16_t event_id = 0;
  std::array<uint8_t, 5> start_time{};  // MJD, then hh mm ss in BCD (UTC)
  std::array<uint8_t, 3> duration{};    // hh mm ss in BCD
  uint8_t running_status = 0;
  uint8_t free_ca_mode = 0;
  CDescriptors descriptors;
};

// (original_network_id, transport_stream_id, service_id)
using EitDvbKey = std::tuple<uint16_t, uint16_t, uint16_t>;

class CEitDvbSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;
  EitDvbKey Key() const { return {original_network_id, transport_stream_id, service_id}; }
  // Key() from the bytes of a section whose header was checked.
  static EitDvbKey KeyOf(const uint8_t* data) {
    return {ReadUInt16At(data + 10), ReadUInt16At(data + 8), ReadUInt16At(data + 3)};
  }

  uint16_t service_id = 0;
  uint16_t transport_stream_id = 0;
  uint16_t original_network_id = 0;
  uint8_t segment_last_section_number = 0;
  uint8_t last_table_id = 0;
  std::vector<EitDvbEvent> events;
};
