#pragma once
// Creates a tune request for one network kind: a fresh tuning space of the
// plug-in's own and a locator carrying the tuning information.
#include "common/KxTuningInfo.h"
#include "platform/bda/TuningInterfaces.h"

template <class Network>
class CTuneRequestHelper {
 public:
  static HRESULT CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info);
};

template <>
HRESULT CTuneRequestHelper<AtscNetworkAntenna>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info);
template <>
HRESULT CTuneRequestHelper<AtscNetworkCable>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info);
template <>
HRESULT CTuneRequestHelper<DvbcNetwork>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info);
template <>
HRESULT CTuneRequestHelper<DvbsNetwork>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info);
template <>
HRESULT CTuneRequestHelper<DvbtNetwork>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info);
