#pragma once
// One entry of a tuner's scan list: a tuning record with the physical channel
// (ATSC antenna) and the LNB it is received through (satellite). Every field
// is -1 when not used.
#include <cstdint>
#include <cstdlib>

#include "Tuner/KxTuningParam.h"
#include "common/KxTuningInfo.h"

struct KxScanRecord : KxTuningParam {
  int32_t nPhysicalChannel = -1;
  int32_t nLnbPosition = -1;
  int32_t nHighOscillator = -1;  // kHz
  int32_t nLowOscillator = -1;   // kHz
  int32_t nLnbSwitch = -1;       // kHz

  friend bool operator==(const KxScanRecord&, const KxScanRecord&) = default;
};

// Announced transponders name the frequency of a listed one only to within a
// few MHz.
constexpr int32_t kSameTransponderKHz = 2000;
inline bool NearFrequency(const KxScanRecord& a, const KxScanRecord& b) {
  return std::abs(int64_t{a.nFrequency} - b.nFrequency) <= kSameTransponderKHz;
}

// What the tune-request helpers build a request from.
KxTuningInfo TuningInfoOf(const KxScanRecord& record);
