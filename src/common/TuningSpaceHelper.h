#pragma once
// Creates a fresh tuning space of the plug-in's own for one network kind.
#include "common/KxTuningInfo.h"
#include "platform/bda/TuningInterfaces.h"

template <class Network>
class CTuningSpaceHelper {
 public:
  // `info` may be null (every default).
  static HRESULT GetTuningSpace(ITuningSpace** out, const KxTuningInfo* info);
};

// The oscillators a DVB-S tuning space gets, in kHz; -1 for none.
struct SatelliteLnb {
  int32_t low = -1;
  int32_t high = -1;
  int32_t lnbSwitch = -1;
};
// An LNB without any oscillator given is a universal one (9750000 /
// 10600000 / 11700000). One oscillator alone, or two equal ones, is a
// single-oscillator LNB: no high band and no switch frequency, so it covers
// its whole band without the 22 kHz tone.
SatelliteLnb SatelliteLnbOf(const KxTuningInfo* info);

template <>
HRESULT CTuningSpaceHelper<AtscNetworkAntenna>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo* info);
template <>
HRESULT CTuningSpaceHelper<AtscNetworkCable>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo* info);
template <>
HRESULT CTuningSpaceHelper<DvbcNetwork>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo* info);
template <>
HRESULT CTuningSpaceHelper<DvbsNetwork>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo* info);
template <>
HRESULT CTuningSpaceHelper<DvbtNetwork>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo* info);
