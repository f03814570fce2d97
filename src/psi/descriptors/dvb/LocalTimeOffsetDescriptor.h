#pragma once
// local_time_offset_descriptor (tag 0x58): offsets from UTC per country
// region; times and offsets stay BCD/MJD as broadcast.
#include <array>
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct LocalTimeOffsetEntry {
  LanguageCode country_code{};
  uint8_t country_region_id = 0;
  uint8_t local_time_offset_polarity = 0;
  uint16_t local_time_offset = 0;           // hhmm, BCD
  std::array<uint8_t, 5> time_of_change{};  // MJD and hhmmss BCD
  uint16_t next_time_offset = 0;            // hhmm, BCD
};

class CLocalTimeOffsetDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<LocalTimeOffsetEntry> entries;
};
