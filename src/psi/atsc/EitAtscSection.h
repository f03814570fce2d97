#pragma once
// One section of an ATSC event information table.
#include <cstdint>
#include <vector>

#include "psi/descriptors/Descriptors.h"
#include "psi/descriptors/RawText.h"
#include "psi/ts/PsiSection.h"

struct EitAtscEvent {
  uint16_t event_id = 0;
  uint32_t start_time = 0;  // GPS seconds since 1980-01-06 00:00:00
  uint8_t etm_location = 0;
  uint32_t length_in_seconds = 0;
  RawText<256> title;  // multiple string structure, raw; title.length is title_length
  CDescriptors descriptors;
};

class CEitAtscSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;

  uint16_t source_id = 0xFFFF;
  std::vector<EitAtscEvent> events;
};
