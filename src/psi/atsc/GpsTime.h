#pragma once
// ATSC times are GPS seconds since 1980-01-06 00:00:00 UTC; UTC lags GPS by
// the leap seconds the System Time Table announces.
#include <cstdint>

constexpr int64_t kGpsEpochUnixSeconds = 315964800;  // 1980-01-06 00:00:00 UTC
// GPS-UTC offset since 2017-01-01, for streams that carry no System Time Table.
constexpr int kDefaultGpsUtcOffset = 18;

constexpr int64_t GpsToUtcSeconds(uint32_t gpsSeconds, int gpsUtcOffset) {
  return kGpsEpochUnixSeconds + static_cast<int64_t>(gpsSeconds) - gpsUtcOffset;
}
