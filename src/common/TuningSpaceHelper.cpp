#include "common/TuningSpaceHelper.h"

#include "logging/LogFile.h"
#include "platform/bda/TuningSpaces.h"

namespace {
constexpr const char* kLogFile = "TuningSpaceHelper";

constexpr int32_t kUniversalLow = 9750000;
constexpr int32_t kUniversalHigh = 10600000;
constexpr int32_t kUniversalSwitch = 11700000;

HRESULT PutNames(ITuningSpace* pTuningSpace, std::u16string_view name) {
  const BStr bstrName(name);
  RETURN_IF_FAILED(pTuningSpace->put_UniqueName(bstrName.Get()));
  RETURN_IF_FAILED(pTuningSpace->put_FriendlyName(bstrName.Get()));
  return S_OK;
}

template <class Locator>
HRESULT PutDefaultLocator(ITuningSpace* pTuningSpace, ModulationType modulation = BDA_MOD_NOT_SET) {
  ComPtr<ILocator> pLocator;
  RETURN_IF_FAILED(ComObject<Locator>::CreateAndQuery(pLocator.Put()));
  if (modulation != BDA_MOD_NOT_SET) RETURN_IF_FAILED(pLocator->put_Modulation(modulation));
  RETURN_IF_FAILED(pTuningSpace->put_DefaultLocator(pLocator.Get()));
  return S_OK;
}

HRESULT GetAtscTuningSpace(ITuningSpace** out, std::u16string_view name, LONG maxPhysicalChannel,
                           TunerInputType inputType) {
  if (!out) return E_POINTER;
  ComPtr<IATSCTuningSpace> pAtscTuningSpace;
  RETURN_IF_FAILED(ComObject<CATSCTuningSpace>::CreateAndQuery(pAtscTuningSpace.Put()));
  RETURN_IF_FAILED(PutNames(pAtscTuningSpace.Get(), name));
  RETURN_IF_FAILED(pAtscTuningSpace->put__NetworkType(CLSID_ATSCNetworkProvider));
  RETURN_IF_FAILED(pAtscTuningSpace->put_MinChannel(1));
  RETURN_IF_FAILED(pAtscTuningSpace->put_MaxChannel(99));
  RETURN_IF_FAILED(pAtscTuningSpace->put_MinMinorChannel(0));
  RETURN_IF_FAILED(pAtscTuningSpace->put_MaxMinorChannel(999));
  RETURN_IF_FAILED(pAtscTuningSpace->put_MinPhysicalChannel(inputType == TunerInputCable ? 1 : 2));
  RETURN_IF_FAILED(pAtscTuningSpace->put_MaxPhysicalChannel(maxPhysicalChannel));
  RETURN_IF_FAILED(pAtscTuningSpace->put_CountryCode(0));
  RETURN_IF_FAILED(pAtscTuningSpace->put_InputType(inputType));
  RETURN_IF_FAILED(PutDefaultLocator<CATSCLocator>(pAtscTuningSpace.Get(), BDA_MOD_128QAM));
  *out = pAtscTuningSpace.Detach();
  return S_OK;
}

HRESULT GetDvbTuningSpace(ITuningSpace** out, std::u16string_view name, DVBSystemType systemType,
                          const GUID& networkType) {
  if (!out) return E_POINTER;
  ComPtr<IDVBTuningSpace2> pDvbTuningSpace;
  RETURN_IF_FAILED(ComObject<CDVBTuningSpace>::CreateAndQuery(pDvbTuningSpace.Put()));
  RETURN_IF_FAILED(PutNames(pDvbTuningSpace.Get(), name));
  RETURN_IF_FAILED(pDvbTuningSpace->put_SystemType(systemType));
  RETURN_IF_FAILED(pDvbTuningSpace->put__NetworkType(networkType));
  if (systemType == DVB_Cable) {
    RETURN_IF_FAILED(pDvbTuningSpace->put_NetworkID(0));
    RETURN_IF_FAILED(PutDefaultLocator<CDVBCLocator>(pDvbTuningSpace.Get()));
  } else {
    RETURN_IF_FAILED(PutDefaultLocator<CDVBTLocator>(pDvbTuningSpace.Get()));
  }
  *out = pDvbTuningSpace.Detach();
  return S_OK;
}
}  // namespace

SatelliteLnb SatelliteLnbOf(const KxTuningInfo* info) {
  const int32_t low = info && info->nLowOscillator > 0 ? info->nLowOscillator : -1;
  const int32_t high = info && info->nHighOscillator > 0 ? info->nHighOscillator : -1;
  const int32_t lnbSwitch = info && info->nLnbSwitch > 0 ? info->nLnbSwitch : kUniversalSwitch;
  if (low < 0 && high < 0) return {kUniversalLow, kUniversalHigh, lnbSwitch};
  if (low < 0 || high < 0 || low == high) return {low > 0 ? low : high, -1, -1};
  return {low, high, lnbSwitch};
}

template <>
HRESULT CTuningSpaceHelper<AtscNetworkAntenna>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo*) {
  return GetAtscTuningSpace(out, u"Vexa ATSC Tuning Space", 69, TunerInputAntenna);
}

template <>
HRESULT CTuningSpaceHelper<AtscNetworkCable>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo*) {
  return GetAtscTuningSpace(out, u"Vexa ATSC Tuning Space Cable", 158, TunerInputCable);
}

template <>
HRESULT CTuningSpaceHelper<DvbcNetwork>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo*) {
  return GetDvbTuningSpace(out, u"Vexa DVBC Tuning Space", DVB_Cable, CLSID_DVBCNetworkProvider);
}

template <>
HRESULT CTuningSpaceHelper<DvbtNetwork>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo*) {
  return GetDvbTuningSpace(out, u"Vexa DVBT Tuning Space", DVB_Terrestrial, CLSID_DVBTNetworkProvider);
}

template <>
HRESULT CTuningSpaceHelper<DvbsNetwork>::GetTuningSpace(ITuningSpace** out, const KxTuningInfo* pInfo) {
  if (!out) return E_POINTER;
  ComPtr<IDVBSTuningSpace> pDvbsTuningSpace;
  RETURN_IF_FAILED(ComObject<CDVBSTuningSpace>::CreateAndQuery(pDvbsTuningSpace.Put()));
  RETURN_IF_FAILED(PutNames(pDvbsTuningSpace.Get(), u"Vexa DVBS Tuning Space"));
  const SatelliteLnb lnb = SatelliteLnbOf(pInfo);
  RETURN_IF_FAILED(pDvbsTuningSpace->put_HighOscillator(lnb.high));
  RETURN_IF_FAILED(pDvbsTuningSpace->put_LowOscillator(lnb.low));
  RETURN_IF_FAILED(pDvbsTuningSpace->put_LNBSwitch(lnb.lnbSwitch));
  RETURN_IF_FAILED(pDvbsTuningSpace->put_SystemType(DVB_Satellite));
  RETURN_IF_FAILED(pDvbsTuningSpace->put__NetworkType(CLSID_DVBSNetworkProvider));
  RETURN_IF_FAILED(PutDefaultLocator<CDVBSLocator>(pDvbsTuningSpace.Get()));
  *out = pDvbsTuningSpace.Detach();
  return S_OK;
}
