#include "GraphManager/KxGraphManagerDvbs.h"

#include "GraphManager/ChannelReads.h"
#include "GraphManager/TracedCall.h"
#include "devplugins/KxDPTuneRequestCommand.h"
#include "logging/LogFile.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDvbs";

// A named integer of the channel; an empty answer leaves the field unset.
HRESULT ReadNamedValue(IKxChannelEx* channel, const char16_t* name, const char* text, int32_t* field) {
  Variant var;
  const HRESULT hr = channel->get_Property(BStr(std::u16string_view(name)).Get(), &var);
  if (FAILED(hr)) {
    traceFailure(hr, text, kLogFile);
    return hr;
  }
  Variant number;
  // Either of the two lowest type bits: the value the channel hands out.
  if ((var.vt & 3) != 0 && SUCCEEDED(VariantChangeType(&number, &var, 0, VT_I4))) *field = number.lVal;
  return S_OK;
}
}  // namespace

HRESULT CKxGraphManagerDvbs::put_LnbControlValue(LONG lValue) {
  m_lLnbControlValue = lValue;
  return S_OK;
}

HRESULT CKxGraphManagerDvbs::AddLnb(IKxLnb* pLnb) {
  if (!pLnb) return E_POINTER;
  m_lnbs.emplace_back(pLnb);
  return S_OK;
}

HRESULT CKxGraphManagerDvbs::get_LnbByIndex(LONG lIndex, IKxLnb** ppLnb) {
  if (!ppLnb) return E_POINTER;
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_lnbs.size()) return E_INVALIDARG;
  return m_lnbs[static_cast<size_t>(lIndex)].CopyTo(ppLnb);
}

HRESULT CKxGraphManagerDvbs::get_LnbCount(LONG* plCount) {
  if (!plCount) return E_POINTER;
  *plCount = static_cast<LONG>(m_lnbs.size());
  return S_OK;
}

HRESULT CKxGraphManagerDvbs::RemoveLnb(IKxLnb* pLNB) {
  if (!pLNB) return E_POINTER;
  LONG ePos1 = 0;
  RETURN_IF_FAILED(pLNB->get_LnbPosition(&ePos1));
  for (size_t i = 0; i < m_lnbs.size(); ++i) {
    IKxLnb* pLnb = m_lnbs[i].Get();
    LONG ePos2 = 0;
    RETURN_IF_FAILED(pLnb->get_LnbPosition(&ePos2));
    if (ePos2 == ePos1) {
      // Later entries at the same position stay.
      return RemoveLnbByIndex(static_cast<LONG>(i));
    }
  }
  return S_OK;
}

HRESULT CKxGraphManagerDvbs::RemoveLnbByIndex(LONG lIndex) {
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_lnbs.size()) return E_INVALIDARG;
  m_lnbs.erase(m_lnbs.begin() + lIndex);
  return S_OK;
}

HRESULT CKxGraphManagerDvbs::FillTuneRequestParam(IKxChannel* pChannel, KxDPTuneRequestParam* param) {
  RETURN_IF_FAILED(ReadChannelValues(
      pChannel,
      {{&IKxChannel::get_CarrierFrequency, &param->carrierFrequency, "(hr) = (pChannel->get_CarrierFrequency(&param.nFreq))"},
       {&IKxChannel::get_SymbolRate, &param->symbolRate, "(hr) = (pChannel->get_SymbolRate(&param.nSR))"},
       {&IKxChannel::get_NetworkId, &param->networkId, "(hr) = (pChannel->get_NetworkId(&param.nNID))"},
       {&IKxChannel::get_ServiceId, &param->serviceId, "(hr) = (pChannel->get_ServiceId(&param.nSID))"},
       {&IKxChannel::get_TransportStreamId, &param->transportStreamId, "(hr) = (pChannel->get_TransportStreamId(&param.nTID))"},
       {&IKxChannel::get_SignalPolarisation, &param->polarisation, "(hr) = (pChannel->get_SignalPolarisation(&param.nPol))"}},
      kLogFile));
  param->lnbPosition = 0;
  RETURN_IF_FAILED_AS("pChannel->get_LnbPosition(&param.eLnbPos)", pChannel->get_LnbPosition(&param->lnbPosition));
  if (param->lnbPosition == 0) {
    // No position stored: the last LNB of the list is the one in use.
    LONG lLnbCount = 0;
    RETURN_IF_FAILED_AS("get_LnbCount(&lLnbCount)", get_LnbCount(&lLnbCount));
    for (LONG l = 0; l < lLnbCount; ++l) {
      ComPtr<IKxLnb> pLnb;
      RETURN_IF_FAILED_AS("get_LnbByIndex(l, &pLnb)", get_LnbByIndex(l, pLnb.Put()));
      RETURN_IF_FAILED_AS("pLnb->get_LnbPosition(&param.eLnbPos)", pLnb->get_LnbPosition(&param->lnbPosition));
    }
  }
  KxChannelPids pids;
  RETURN_IF_FAILED_AS(
      "CKxChannel::GetDefaultChannelPids(pChannel, &param.nVideoPid, &param.nAudioPid, &param.nPmtPid, "
      "&nVideoPidType, &nAudioPidType, &bIsAC3)",
      ReadDefaultChannelPids(pChannel, &pids));
  param->videoPid = pids.video;
  param->audioPid = pids.audio;
  param->pmtPid = pids.pmt;
  ComPtr<IKxChannelEx> pChannelEx;
  RETURN_IF_FAILED_AS("pChannel->QueryInterface(&pChannelEx)", pChannel->QueryInterface(IidOf<IKxChannelEx>(), pChannelEx.PutVoid()));
  RETURN_IF_FAILED(ReadNamedValue(pChannelEx.Get(), u"InnerFec",
                                  "(hr) = (pChannelEx->get_Property(CComBSTR(L\"InnerFec\"), &var))", &param->innerFec));
  LONG nMod = -1;
  RETURN_IF_FAILED(pChannelEx->get_Modulation(&nMod));
  param->modulation = nMod;
  const struct {
    const char16_t* name;
    const char* text;
    int32_t* field;
  } properties[] = {
      {u"Pilot", "(hr) = (pChannelEx->get_Property(CComBSTR(L\"Pilot\"), &var))", &param->pilot},
      {u"Rolloff", "(hr) = (pChannelEx->get_Property(CComBSTR(L\"Rolloff\"), &var))", &param->rolloff},
      {u"HighOscillator", "(hr) = (pChannelEx->get_Property(CComBSTR(L\"HighOscillator\"), &var))",
       &param->highOscillator},
      {u"LowOscillator", "(hr) = (pChannelEx->get_Property(CComBSTR(L\"LowOscillator\"), &var))",
       &param->lowOscillator},
      {u"LnbSwitch", "(hr) = (pChannelEx->get_Property(CComBSTR(L\"LnbSwitch\"), &var))", &param->lnbSwitch},
  };
  for (const auto& property : properties)
    RETURN_IF_FAILED(ReadNamedValue(pChannelEx.Get(), property.name, property.text, property.field));
  return S_OK;
}

HRESULT CKxGraphManagerDvbs::ExecuteTuneRequestCommand(IKxChannel* pChannel) {
  if (!pChannel) return E_POINTER;
  if (!DevicePlugins()) return E_FAIL;
  LONG eChannelType = 0;
  RETURN_IF_FAILED_AS("pChannel->get_Type(&eChannelType)", pChannel->get_Type(&eChannelType));
  if (eChannelType != KxChannelType_DvbsRadio && eChannelType != KxChannelType_DvbsTv) return E_FAIL;
  ComPtr<IKxDevicePlugin> pDevicePlugin;
  // Without a satellite plug-in the network provider tunes.
  if (FindCapablePlugin(KxDPCapability_TuneDvbs, &pDevicePlugin) != S_OK || !pDevicePlugin) return E_FAIL;

  KxDPTuneRequestParam param = UnsetTuneRequestParam();
  HRESULT hr = FillTuneRequestParam(pChannel, &param);
  ComPtr<IKxDPCommand> pCmd;
  if (SUCCEEDED(hr)) {
    hr = CKxDPTuneRequestCommand::CreateInstance(KxCaptureDeviceType_Dvbs, param, pCmd.Put());
    traceFailure(hr, "(hr) = (CKxDPTuneRequestCommand::CreateInstance(KxCaptureDeviceType_Dvbs, param, &pCmd))",
                 kLogFile);
  }
  return ExecuteTuneCommand(pDevicePlugin.Get(), hr, pCmd.Get(), [&] {
    log(1, "Execute Command Tune Request DVB-S. LNB: %d, Frequency: %d, Polarisation: %d, Symbol Rate: %d",
        param.lnbPosition, param.carrierFrequency, param.polarisation, param.symbolRate);
    log(1, "Inner Fec: %d, Modulation: %d, Pilot: %d, Rolloff: %d", param.innerFec, param.modulation, param.pilot,
        param.rolloff);
    log(1, "High Oscillator: %d, Low Oscillator: %d, LNB Switch: %d", param.highOscillator, param.lowOscillator,
        param.lnbSwitch);
    log(1, "NID: %d, SID: %d, TID: %d", param.networkId, param.serviceId, param.transportStreamId);
  });
}

HRESULT CKxGraphManagerDvbs::PutTuneRequest(IKxChannel* pChannel) {
  ComPtr<ITuneRequest> pTuneRequest;
  RETURN_IF_FAILED_AS("GetTuneRequest(pChannel, &pTuneRequest)", GetTuneRequest(pChannel, pTuneRequest.Put()));
  // Only a graph that was running is started again.
  VARIANT_BOOL running = VARIANT_FALSE;
  get_IsGraphRunning(&running);
  const bool pause = HasRendererConfigured() && running != VARIANT_FALSE;
  if (pause) RETURN_IF_FAILED(PauseGraph());
  RETURN_IF_FAILED(TuneNetworkProvider(pTuneRequest.Get()));
  if (pause) RETURN_IF_FAILED(StartGraph());
  return S_OK;
}
