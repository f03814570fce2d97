#pragma once
// The parameters a tuning space and tune request are built from. Every field
// is -1 until set; a field <= 0 means: use the default.
#include <cstdint>

struct KxTuningInfo {
  int32_t nFrequency = -1;  // kHz
  int32_t nSymbolRate = -1;  // ksymbol/s
  int32_t nPolarisation = -1;
  int32_t nModulation = -1;
  int32_t nBandwidth = -1;  // MHz
  int32_t nPhysicalChannel = -1;
  int32_t nHighOscillator = -1;  // kHz
  int32_t nLnbSwitch = -1;  // kHz
  int32_t nLowOscillator = -1;  // kHz
  int32_t nInnerFec = -1;
  int32_t nRollOff = -1;
  int32_t nPilot = -1;
  int32_t nReserved = -1;
};
static_assert(sizeof(KxTuningInfo) == 13 * sizeof(int32_t));

// The networks the helpers build tuning spaces and tune requests for.
struct AtscNetworkAntenna {};
struct AtscNetworkCable {};
struct DvbcNetwork {};
struct DvbsNetwork {};
struct DvbtNetwork {};
