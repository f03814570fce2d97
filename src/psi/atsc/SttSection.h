#pragma once
// The ATSC system time table: GPS time and the current GPS-UTC offset.
#include <cstdint>

#include "psi/ts/PsiSection.h"

class CSttSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;

  uint32_t system_time = 0;    // GPS seconds since 1980-01-06 00:00:00 UTC
  uint8_t GPS_UTC_offset = 0;  // leap seconds between GPS and UTC
};
