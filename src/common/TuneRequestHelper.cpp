#include "common/TuneRequestHelper.h"

#include "common/TuningSpaceHelper.h"
#include "logging/LogFile.h"
#include "platform/bda/Locators.h"

namespace {
constexpr const char* kLogFile = "TuneRequestHelper";

// The settings below the carrier frequency are optional: a value <= 0
// leaves the tuner to find it.
HRESULT PutModulationAndFec(ILocator* pLocator, const KxTuningInfo* pInfo) {
  if (pInfo->nModulation > 0) RETURN_IF_FAILED(pLocator->put_Modulation((ModulationType)pInfo->nModulation));
  if (pInfo->nInnerFec > 0) RETURN_IF_FAILED(pLocator->put_InnerFECRate((BinaryConvolutionCodeRate)pInfo->nInnerFec));
  return S_OK;
}

HRESULT PutDvbsLocator(IDVBSLocator2* pDvbsLocator, const KxTuningInfo* pInfo) {
  RETURN_IF_FAILED(pDvbsLocator->put_CarrierFrequency(pInfo->nFrequency));
  RETURN_IF_FAILED(pDvbsLocator->put_SymbolRate(pInfo->nSymbolRate));
  RETURN_IF_FAILED(pDvbsLocator->put_SignalPolarisation((Polarisation)pInfo->nPolarisation));
  RETURN_IF_FAILED(PutModulationAndFec(pDvbsLocator, pInfo));
  if (pInfo->nRollOff > 0) RETURN_IF_FAILED(pDvbsLocator->put_SignalRollOff((RollOff)pInfo->nRollOff));
  if (pInfo->nPilot > 0) RETURN_IF_FAILED(pDvbsLocator->put_SignalPilot((Pilot)pInfo->nPilot));
  return S_OK;
}

HRESULT PutDvbcLocator(ILocator* pDvbcLocator, const KxTuningInfo* pInfo) {
  RETURN_IF_FAILED(pDvbcLocator->put_CarrierFrequency(pInfo->nFrequency));
  RETURN_IF_FAILED(pDvbcLocator->put_SymbolRate(pInfo->nSymbolRate));
  RETURN_IF_FAILED(pDvbcLocator->put_Modulation((ModulationType)pInfo->nModulation));
  if (pInfo->nInnerFec > 0) RETURN_IF_FAILED(pDvbcLocator->put_InnerFECRate((BinaryConvolutionCodeRate)pInfo->nInnerFec));
  return S_OK;
}

HRESULT PutDvbtLocator(IDVBTLocator* pDvbtLocator, const KxTuningInfo* pInfo) {
  RETURN_IF_FAILED(pDvbtLocator->put_CarrierFrequency(pInfo->nFrequency));
  RETURN_IF_FAILED(pDvbtLocator->put_Bandwidth(pInfo->nBandwidth));
  return S_OK;
}

HRESULT PutAtscAntennaLocator(IATSCLocator* pAtscLocator, const KxTuningInfo* pInfo) {
  RETURN_IF_FAILED(pAtscLocator->put_PhysicalChannel(pInfo->nPhysicalChannel));
  return S_OK;
}

// One cable frequency may carry a 64-QAM and a 256-QAM multiplex.
HRESULT PutAtscCableLocator(IATSCLocator* pAtscLocator, const KxTuningInfo* pInfo) {
  RETURN_IF_FAILED(pAtscLocator->put_CarrierFrequency(pInfo->nFrequency));
  RETURN_IF_FAILED(PutModulationAndFec(pAtscLocator, pInfo));
  return S_OK;
}

template <class Network, class Locator, class LocatorInterface>
HRESULT CreateRequest(ITuneRequest** out, const KxTuningInfo* pInfo,
                      HRESULT (*putLocator)(LocatorInterface*, const KxTuningInfo*), bool defaultLocator) {
  if (!out) return E_POINTER;
  const KxTuningInfo none;
  if (!pInfo) pInfo = &none;
  ComPtr<ITuningSpace> pTuningSpace;
  RETURN_IF_FAILED(CTuningSpaceHelper<Network>::GetTuningSpace(pTuningSpace.Put(), pInfo));
  ComPtr<ITuneRequest> pTuneRequest;
  RETURN_IF_FAILED(pTuningSpace->CreateTuneRequest(pTuneRequest.Put()));
  const auto locator = ComObject<Locator>::Make();
  if (!locator) return E_OUTOFMEMORY;
  ComPtr<LocatorInterface> pLocator;
  RETURN_IF_FAILED(locator.As(pLocator));
  RETURN_IF_FAILED(putLocator(pLocator.Get(), pInfo));
  if (defaultLocator) RETURN_IF_FAILED(pTuningSpace->put_DefaultLocator(pLocator.Get()));
  RETURN_IF_FAILED(pTuneRequest->put_Locator(pLocator.Get()));
  *out = pTuneRequest.Detach();
  return S_OK;
}
}  // namespace

template <>
HRESULT CTuneRequestHelper<AtscNetworkAntenna>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info) {
  return CreateRequest<AtscNetworkAntenna, CATSCLocator>(out, info, PutAtscAntennaLocator, true);
}

template <>
HRESULT CTuneRequestHelper<AtscNetworkCable>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info) {
  return CreateRequest<AtscNetworkCable, CATSCLocator>(out, info, PutAtscCableLocator, true);
}

template <>
HRESULT CTuneRequestHelper<DvbcNetwork>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info) {
  return CreateRequest<DvbcNetwork, CDVBCLocator>(out, info, PutDvbcLocator, false);
}

template <>
HRESULT CTuneRequestHelper<DvbsNetwork>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info) {
  return CreateRequest<DvbsNetwork, CDVBSLocator>(out, info, PutDvbsLocator, false);
}

template <>
HRESULT CTuneRequestHelper<DvbtNetwork>::CreateTuneRequest(ITuneRequest** out, const KxTuningInfo* info) {
  return CreateRequest<DvbtNetwork, CDVBTLocator>(out, info, PutDvbtLocator, false);
}
