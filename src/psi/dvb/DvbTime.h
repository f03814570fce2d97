#pragma once
// Conversions of the DVB SI time fields (EN 300 468 Annex C) used for EIT events.
#include <cstdint>

// start_time (16-bit MJD, then hh mm ss in BCD) to seconds since
// 1970-01-01 00:00:00 UTC. The fields are UTC, so the result does not depend
// on the local time zone. Fails for years outside 1971..3000 and for
// hours above 23 or minutes/seconds above 59.
bool MjdUtcToTime(const uint8_t* bytes, int64_t& time);

// duration (hh mm ss in BCD) to seconds. Fails only for a null pointer.
bool BcdDurationToSeconds(const uint8_t* bytes, uint64_t& seconds);
