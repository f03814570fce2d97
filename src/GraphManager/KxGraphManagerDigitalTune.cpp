// The two tuning routes of a channel switch for DVB-T, DVB-C and ATSC: a
// device plug-in's tune command, and a tune request through the network
// provider (built for DVB-S too).
#include "DSFilters/TsBlocker/TsBlockerFilter.h"
#include "GraphManager/ChannelReads.h"
#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "GraphManager/TracedCall.h"
#include "common/TuneRequestHelper.h"
#include "devplugins/KxDPTuneRequestCommand.h"
#include "interfaces/KxFilterRole.h"
#include "logging/LogFile.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDigitalBase";
constexpr LONG kAtscInputCable = 2;

// The tuner input type of the plug-in command: 1 antenna, 0 cable.
int32_t TunerInputTypeOf(LONG inputSource, int32_t before) {
  if (inputSource == 1) return 1;
  if (inputSource == kAtscInputCable) return 0;
  return before;
}

LONG DeviceTypeOfChannel(LONG channelType) {
  switch (channelType) {
    case KxChannelType_AtscRadio: case KxChannelType_AtscTv: return KxCaptureDeviceType_Atsc;
    case KxChannelType_DvbtRadio: case KxChannelType_DvbtTv: return KxCaptureDeviceType_Dvbt;
    case KxChannelType_DvbsRadio: case KxChannelType_DvbsTv: return KxCaptureDeviceType_Dvbs;
    case KxChannelType_DvbcRadio: case KxChannelType_DvbcTv: return KxCaptureDeviceType_Dvbc;
    default: return 0;
  }
}

void LogIds(LONG nid, LONG sid, LONG tid) { log(1, "NID: %d, SID: %d, TID: %d", nid, sid, tid); }

// Sets the service ids on a DVB tune request; failures are only traced.
void PutServiceIds(ITuneRequest* request, LONG nid, LONG sid, LONG tid) {
  const ComPtr<IDVBTuneRequest> dvb = QueryAs<IDVBTuneRequest>(request);
  if (!dvb) return traceFailure(E_NOINTERFACE, "(hr) = (pTuneRequest->QueryInterface(&pDvbTuneRequest))", kLogFile);
  traceFailure(dvb->put_ONID(nid), "(hr) = (pDvbTuneRequest->put_ONID(nNID))", kLogFile);
  traceFailure(dvb->put_SID(sid), "(hr) = (pDvbTuneRequest->put_SID(nSID))", kLogFile);
  traceFailure(dvb->put_TSID(tid), "(hr) = (pDvbTuneRequest->put_TSID(nTID))", kLogFile);
}

// A satellite channel's optional transmission and LNB values; one the
// channel does not know stays unset.
void ReadSatelliteExtras(IKxChannel* channel, KxTuningInfo* info) {
  channel->get_Modulation(&info->nModulation);
  const ComPtr<IKxChannelEx> extended = QueryAs<IKxChannelEx>(channel);
  if (!extended) return;
  const struct {
    const char16_t* name;
    int32_t* field;
  } properties[] = {{u"InnerFec", &info->nInnerFec},           {u"Pilot", &info->nPilot},
                    {u"Rolloff", &info->nRollOff},             {u"HighOscillator", &info->nHighOscillator},
                    {u"LowOscillator", &info->nLowOscillator}, {u"LnbSwitch", &info->nLnbSwitch}};
  for (const auto& property : properties) {
    Variant value;
    BStr name{std::u16string_view(property.name)};
    if (SUCCEEDED(extended->get_Property(name.Get(), &value)) && (value.vt & 3) != 0) {
      Variant number;
      if (SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4))) *property.field = number.lVal;
    }
  }
}
}  // namespace

HRESULT CKxGraphManagerDigitalBase::FindCapablePlugin(LONG capability, ComPtr<IKxDevicePlugin>* plugin) {
  const auto plugins = DevicePlugins();
  if (!plugins) return E_FAIL;
  return plugins->FindDevicePlugin(capability, plugin->Put());
}

void CKxGraphManagerDigitalBase::SetTsBlocking(bool blocking) {
  const auto it = m_flts.find(KxFLTTsBlocker);
  const ComPtr<ITsBlockerFilter> blocker =
      it == m_flts.end() ? ComPtr<ITsBlockerFilter>() : QueryAs<ITsBlockerFilter>(it->second.Get());
  if (blocker) blocker->put_Enabled(ToVariantBool(!blocking));
}

HRESULT CKxGraphManagerDigitalBase::ExecuteTuneCommand(IKxDevicePlugin* plugin, HRESULT hr, IKxDPCommand* command,
                                                       const std::function<void()>& logCommand) {
  SetTsBlocking(true);
  if (SUCCEEDED(hr) && command) {
    hr = plugin->ExecuteCommand(KxDPEvent_TuneRequest, command);
    traceFailure(hr, "(hr) = (pDevicePlugin->ExecuteCommand(KxDPEvent_TuneRequest, pCmd))", kLogFile);
  }
  logCommand();
  log(1, "Result: 0x%08x", static_cast<unsigned>(hr));
  SetTsBlocking(false);
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::ExecuteTuneRequestCommand(IKxChannel* pChannel) {
  if (!pChannel) return E_POINTER;
  if (!DevicePlugins()) return E_FAIL;
  LONG eChannelType = 0;
  RETURN_IF_FAILED_AS("pChannel->get_Type(&eChannelType)", pChannel->get_Type(&eChannelType));
  const LONG deviceType = DeviceTypeOfChannel(eChannelType);
  LONG capability = 0;
  switch (deviceType) {
    case KxCaptureDeviceType_Dvbt: capability = KxDPCapability_TuneDvbt; break;
    case KxCaptureDeviceType_Dvbc: capability = KxDPCapability_TuneDvbc; break;
    case KxCaptureDeviceType_Atsc: capability = KxDPCapability_TuneAtsc; break;
    default: return E_FAIL;
  }
  ComPtr<IKxDevicePlugin> pDevicePlugin;
  const HRESULT found = FindCapablePlugin(capability, &pDevicePlugin);
  if (found != S_OK || !pDevicePlugin) return found;

  KxDPTuneRequestParam param = UnsetTuneRequestParam();
  LONG inputSource = -1;
  HRESULT hr = S_OK;
  if (deviceType == KxCaptureDeviceType_Dvbt) {
    hr = ReadChannelValues(
        pChannel,
        {{&IKxChannel::get_CarrierFrequency, &param.carrierFrequency, "(hr) = (pChannel->get_CarrierFrequency(&param.nFreq))"},
         {&IKxChannel::get_NetworkId, &param.networkId, "(hr) = (pChannel->get_NetworkId(&param.nNID))"},
         {&IKxChannel::get_ServiceId, &param.serviceId, "(hr) = (pChannel->get_ServiceId(&param.nSID))"},
         {&IKxChannel::get_TransportStreamId, &param.transportStreamId, "(hr) = (pChannel->get_TransportStreamId(&param.nTID))"},
         {&IKxChannel::get_Bandwidth, &param.bandwidth, "(hr) = (pChannel->get_Bandwidth(&param.nBandwidth))"}},
        kLogFile);
  } else if (deviceType == KxCaptureDeviceType_Dvbc) {
    hr = ReadChannelValues(
        pChannel,
        {{&IKxChannel::get_CarrierFrequency, &param.carrierFrequency, "(hr) = (pChannel->get_CarrierFrequency(&param.nFreq))"},
         {&IKxChannel::get_NetworkId, &param.networkId, "(hr) = (pChannel->get_NetworkId(&param.nNID))"},
         {&IKxChannel::get_ServiceId, &param.serviceId, "(hr) = (pChannel->get_ServiceId(&param.nSID))"},
         {&IKxChannel::get_TransportStreamId, &param.transportStreamId, "(hr) = (pChannel->get_TransportStreamId(&param.nTID))"},
         {&IKxChannel::get_SymbolRate, &param.symbolRate, "(hr) = (pChannel->get_SymbolRate(&param.nSR))"},
         {&IKxChannel::get_Modulation, &param.modulation, "(hr) = (pChannel->get_Modulation(&param.nMod))"}},
        kLogFile);
  } else {
    hr = ReadChannelValues(
        pChannel,
        {{&IKxChannel::get_PhysicalChannel, &param.physicalChannel, "(hr) = (pChannel->get_PhysicalChannel(&param.nPhysicalChannel))"},
         {&IKxChannel::get_InputSource, &inputSource, "(hr) = (pChannel->get_InputSource(&lInputSource))"},
         {&IKxChannel::get_Modulation, &param.modulation, "(hr) = (pChannel->get_Modulation(&param.nMod))"},
         {&IKxChannel::get_MinorChannel, &param.minorChannel, "(hr) = (pChannel->get_MinorChannel(&param.nMinorChannel))"},
         {&IKxChannel::get_MajorChannel, &param.majorChannel, "(hr) = (pChannel->get_MajorChannel(&param.nMajorChannel))"},
         {&IKxChannel::get_CarrierFrequency, &param.carrierFrequency, "(hr) = (pChannel->get_CarrierFrequency(&param.nFreq))"}},
        kLogFile);
    param.atscNetworkType = TunerInputTypeOf(inputSource, param.atscNetworkType);
  }
  ComPtr<IKxDPCommand> pCmd;
  if (SUCCEEDED(hr)) {
    hr = CKxDPTuneRequestCommand::CreateInstance(deviceType, param, pCmd.Put());
    traceFailure(hr, "(hr) = (CKxDPTuneRequestCommand::CreateInstance(eDeviceType, param, &pCmd))", kLogFile);
  }
  return ExecuteTuneCommand(pDevicePlugin.Get(), hr, pCmd.Get(), [&] {
    if (deviceType == KxCaptureDeviceType_Dvbt) {
      log(1, "Execute Command Tune Request DVB-T. Frequency: %d, Bandwidth: %d", param.carrierFrequency,
          param.bandwidth);
      LogIds(param.networkId, param.serviceId, param.transportStreamId);
    } else if (deviceType == KxCaptureDeviceType_Dvbc) {
      log(1, "Execute Command Tune Request DVB-C. Frequency: %d, Modulation: %d, Symbol Rate: %d",
          param.carrierFrequency, param.modulation, param.symbolRate);
      LogIds(param.networkId, param.serviceId, param.transportStreamId);
    } else {
      log(1,
          "Execute Command Tune Request ATSC. Physical Channel: %d, Frequency: %d, Modulation: %d, Tuner Input "
          "Type: %d",
          param.physicalChannel, param.carrierFrequency, param.modulation, param.atscNetworkType);
    }
  });
}

HRESULT CKxGraphManagerDigitalBase::PutTuneRequest(IKxChannel* pChannel) {
  ComPtr<ITuneRequest> pTuneRequest;
  RETURN_IF_FAILED_AS("GetTuneRequest(pChannel, &pTuneRequest)", GetTuneRequest(pChannel, pTuneRequest.Put()));
  return TuneNetworkProvider(pTuneRequest.Get());
}

HRESULT CKxGraphManagerDigitalBase::TuneNetworkProvider(ITuneRequest* pTuneRequest) {
  const auto provider = m_flts.find(KxFLTNetworkProvider);
  if (provider == m_flts.end() || !provider->second) return E_POINTER;
  ComPtr<ITuner> pTuner;
  RETURN_IF_FAILED_AS("m_flts[KxFLTNetworkProvider].QueryInterface(&pTuner)", provider->second.As(pTuner));
  RETURN_IF_FAILED_AS("pTuner->put_TuneRequest(pTuneRequest)", pTuner->put_TuneRequest(pTuneRequest));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::GetTuneRequest(IKxChannel* pChannel, ITuneRequest** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!pChannel) return E_POINTER;
  LONG eChannelType = 0;
  RETURN_IF_FAILED_AS("pChannel->get_Type(&eChannelType)", pChannel->get_Type(&eChannelType));
  KxTuningInfo info;
  LONG nid = -1, sid = -1, tid = -1;
  const ChannelRead ids[] = {
      {&IKxChannel::get_NetworkId, &nid, "(hr) = (pChannel->get_NetworkId(&nNID))"},
      {&IKxChannel::get_ServiceId, &sid, "(hr) = (pChannel->get_ServiceId(&nSID))"},
      {&IKxChannel::get_TransportStreamId, &tid, "(hr) = (pChannel->get_TransportStreamId(&nTID))"}};
  const ChannelRead frequency = {&IKxChannel::get_CarrierFrequency, &info.nFrequency,
                                 "(hr) = (pChannel->get_CarrierFrequency(&nFreq))"};
  ComPtr<ITuneRequest> pTuneRequest;
  HRESULT hr = E_FAIL;
  switch (DeviceTypeOfChannel(eChannelType)) {
    case KxCaptureDeviceType_Atsc: {
      LONG major = -1, minor = -1, inputSource = -1;
      hr = ReadChannelValues(
          pChannel,
          {{&IKxChannel::get_PhysicalChannel, &info.nPhysicalChannel, "(hr) = (pChannel->get_PhysicalChannel(&nPhysicalChannel))"},
           {&IKxChannel::get_MajorChannel, &major, "(hr) = (pChannel->get_MajorChannel(&nMajorChannel))"},
           {&IKxChannel::get_MinorChannel, &minor, "(hr) = (pChannel->get_MinorChannel(&nMinorChannel))"},
           {&IKxChannel::get_InputSource, &inputSource, "(hr) = (pChannel->get_InputSource(&nInputSource))"},
           frequency},
          kLogFile);
      if (FAILED(hr)) break;
      // A 64-QAM and a 256-QAM multiplex may share one cable frequency.
      if (inputSource == kAtscInputCable) pChannel->get_Modulation(&info.nModulation);
      hr = inputSource == kAtscInputCable
               ? CTuneRequestHelper<AtscNetworkCable>::CreateTuneRequest(pTuneRequest.Put(), &info)
               : CTuneRequestHelper<AtscNetworkAntenna>::CreateTuneRequest(pTuneRequest.Put(), &info);
      traceFailure(hr, "(hr) = (CTuneRequestHelper<AtscNetwork>::CreateTuneRequest(&pTuneRequest, &info))", kLogFile);
      if (FAILED(hr)) break;
      if (const ComPtr<IATSCChannelTuneRequest> atsc = QueryAs<IATSCChannelTuneRequest>(pTuneRequest.Get())) {
        traceFailure(atsc->put_Channel(major), "(hr) = (pAtscTuneRequest->put_Channel(nMajorChannel))", kLogFile);
        traceFailure(atsc->put_MinorChannel(minor), "(hr) = (pAtscTuneRequest->put_MinorChannel(nMinorChannel))",
                     kLogFile);
      }
      log(1, "Put channel ATSC. Physical channel: %d, frequency: %d, major channel: %d, minor channel: %d",
          info.nPhysicalChannel, info.nFrequency, major, minor);
      break;
    }
    case KxCaptureDeviceType_Dvbt:
      hr = ReadChannelValues(pChannel,
                             {frequency, ids[0], ids[1], ids[2],
                              {&IKxChannel::get_Bandwidth, &info.nBandwidth, "(hr) = (pChannel->get_Bandwidth(&nBandwidth))"}},
                             kLogFile);
      if (FAILED(hr)) break;
      hr = CTuneRequestHelper<DvbtNetwork>::CreateTuneRequest(pTuneRequest.Put(), &info);
      traceFailure(hr, "(hr) = (CTuneRequestHelper<DvbtNetwork>::CreateTuneRequest(&pTuneRequest, &info))", kLogFile);
      if (FAILED(hr)) break;
      PutServiceIds(pTuneRequest.Get(), nid, sid, tid);
      log(1, "Put channel DVB-T. Frequency: %d, bandwidth: %d", info.nFrequency, info.nBandwidth);
      LogIds(nid, sid, tid);
      break;
    case KxCaptureDeviceType_Dvbc:
      hr = ReadChannelValues(pChannel,
                             {frequency,
                              {&IKxChannel::get_SymbolRate, &info.nSymbolRate, "(hr) = (pChannel->get_SymbolRate(&nSR))"},
                              {&IKxChannel::get_Modulation, &info.nModulation, "(hr) = (pChannel->get_Modulation(&nModulation))"},
                              ids[0], ids[1], ids[2]},
                             kLogFile);
      if (FAILED(hr)) break;
      hr = CTuneRequestHelper<DvbcNetwork>::CreateTuneRequest(pTuneRequest.Put(), &info);
      traceFailure(hr, "(hr) = (CTuneRequestHelper<DvbcNetwork>::CreateTuneRequest(&pTuneRequest, &info))", kLogFile);
      if (FAILED(hr)) break;
      PutServiceIds(pTuneRequest.Get(), nid, sid, tid);
      log(1, "Put channel DVB-C. Frequency: %d, SR: %d, modulation: %d", info.nFrequency, info.nSymbolRate,
          info.nModulation);
      LogIds(nid, sid, tid);
      break;
    case KxCaptureDeviceType_Dvbs:
      hr = ReadChannelValues(pChannel,
                             {frequency,
                              {&IKxChannel::get_SymbolRate, &info.nSymbolRate, "(hr) = (pChannel->get_SymbolRate(&nSR))"},
                              ids[0], ids[1], ids[2],
                              {&IKxChannel::get_SignalPolarisation, &info.nPolarisation,
                               "(hr) = (pChannel->get_SignalPolarisation(&nPolarisation))"}},
                             kLogFile);
      if (FAILED(hr)) break;
      // DVB-S2 transponders and single-oscillator LNBs need more than
      // frequency, symbol rate and polarisation.
      ReadSatelliteExtras(pChannel, &info);
      hr = CTuneRequestHelper<DvbsNetwork>::CreateTuneRequest(pTuneRequest.Put(), &info);
      traceFailure(hr, "(hr) = (CTuneRequestHelper<DvbsNetwork>::CreateTuneRequest(&pTuneRequest, &info))", kLogFile);
      if (FAILED(hr)) break;
      PutServiceIds(pTuneRequest.Get(), nid, sid, tid);
      log(1, "Put channel DVB-S. Frequency: %d, SR: %d, polarisation: %d", info.nFrequency, info.nSymbolRate,
          info.nPolarisation);
      LogIds(nid, sid, tid);
      break;
    default:
      break;
  }
  if (!pTuneRequest) return E_FAIL;
  *out = pTuneRequest.Detach();
  return S_OK;
}
