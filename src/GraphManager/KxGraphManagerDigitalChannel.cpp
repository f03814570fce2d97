// Channel control: switching the built graph to a host channel.
#include "DSH/DSH.h"
#include "GraphManager/ChannelReads.h"
#include "GraphManager/DeviceRecordTable.h"
#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "GraphManager/TracedCall.h"
#include "devplugins/KxDPApplyCACommand.h"
#include "interfaces/IKxTransportStreamSink.h"
#include "interfaces/KxFilterRole.h"
#include "logging/LogFile.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDigitalBase";

const char* TrueFalse(bool value) { return value ? "true" : "false"; }

// The remultiplexed transport stream formats take their PID list from the multiplexer.
bool IsRemultiplexedFormat(int64_t format) {
  switch (format) {
    case 7: case 10: case 11: case 12: case 13: case 14: return true;
    default: return false;
  }
}

}  // namespace

HRESULT CKxGraphManagerDigitalBase::put_Channel(IKxChannel* pChannel) {
  if (!pChannel) return E_POINTER;
  // The guide thread is joined before the graph lock is taken: it may be
  // waiting for that lock to hand over its events.
  VARIANT_BOOL built = VARIANT_FALSE;
  get_IsGraphBuilt(&built);
  HRESULT hrEpg = built ? StopBackgroudEpg() : E_FAIL;

  AutoLock lock(m_graphLock);
  BStr title;
  pChannel->get_Title(title.Put());
  log(1, "CKxGraphManagerDigitalBase::put_Channel(%s)", title.Utf8().c_str());
  get_IsGraphBuilt(&built);
  if (!built) return E_FAIL;

  HRESULT hr = hrEpg;
  traceFailure(hr, "(hr) = (StopBackgroudEpg())", kLogFile);
  KxChannelPids pids;
  if (SUCCEEDED(hr)) {
    hr = ReadDefaultChannelPids(pChannel, &pids);
    traceFailure(hr,
                 "(hr) = (CKxChannel::GetDefaultChannelPids(pChannel, &nVideoPid, &nAudioPid, &nPmtPid, "
                 "&nVideoPidType, &nAudioPidType, &bIsAudioAC3))",
                 kLogFile);
    if (FAILED(hr)) pids = KxChannelPids{};
  }
  log(1, "Channel info: VideoPid: 0x%04x, VideoPidType: %d, AudioPid: 0x%04x, AudioPidType: %d, IsHD: %s, IsAC3: %s",
      pids.video, pids.videoType, pids.audio, pids.audioType, TrueFalse(pids.HighDefinition()), TrueFalse(pids.ac3));
  const bool kindChanged = RecordChannelKind(pids);
  if (SUCCEEDED(hr) && kindChanged && HasRendererConfigured()) RebuildForChannelKind();

  // A recording must not mix the old channel and the new one. Cleared before
  // the tune, not after it: by then the ring holds the new channel's first
  // bytes, and clearing them would leave a hole at the start of its stream.
  // A tuner filter flushes what arrives between here and its tune.
  ClearSinkBuffers();
  hr = TuneChannel(pChannel);
  if (SUCCEEDED(hr)) {
    ComPtr<IBaseFilter> pPsiReaderFilter;
    hr = GetPsiReaderFilter(pPsiReaderFilter.Put());
    traceFailure(hr, "(hr) = (GetPsiReaderFilter(&pPsiReaderFilter))", kLogFile);
    if (const ComPtr<IMpeg2PsiReader> reader = QueryAs<IMpeg2PsiReader>(pPsiReaderFilter.Get())) {
      const HRESULT reset = reader->ResetStreamInfo();
      traceFailure(reset, "(hr) = (pPsiReader->ResetStreamInfo())", kLogFile);
    }
  }
  if (SUCCEEDED(hr)) {
    VARIANT_BOOL scrambled = VARIANT_FALSE;
    hr = pChannel->get_Scrambled(&scrambled);
    traceFailure(hr, "(hr) = (pChannel->get_Scrambled(&bScrambled))", kLogFile);
    if (SUCCEEDED(hr) && scrambled != VARIANT_FALSE) {
      log(1, "Scrambled channel, trying to apply CA...");
      hr = ApplyCA(pChannel);
      traceFailure(hr, "(hr) = (ApplyCA(pChannel))", kLogFile);
    }
  }
  if (SUCCEEDED(hr)) {
    hr = SetupPids(pChannel);
    traceFailure(hr, "(hr) = (SetupPids(pChannel))", kLogFile);
  }
  if (SUCCEEDED(hr)) {
    hr = UpdatePidInfo(pChannel);
    traceFailure(hr, "(hr) = (UpdatePidInfo(pChannel))", kLogFile);
  }
  if (SUCCEEDED(hr)) {
    hr = pChannel->get_ServiceId(&m_nCurrentServiceId);
    traceFailure(hr, "(hr) = (pChannel->get_ServiceId(&m_nCurrentServiceId))", kLogFile);
  }
  VARIANT_BOOL running = VARIANT_FALSE;
  get_IsGraphRunning(&running);
  if (m_lEpgState == KxEpgState_Background && running && SUCCEEDED(hr)) {
    hr = StartBackgroudEpg();
    traceFailure(hr, "(hr) = (StartBackgroudEpg())", kLogFile);
  }
  // The new channel's signal and scrambling are polled from the start.
  m_observer.ResetSchedule();
  return hr;
}

bool CKxGraphManagerDigitalBase::RecordChannelKind(const KxChannelPids& pids) {
  BStr moniker;
  if (FAILED(m_pVideoDevice->get_MonikerName(moniker.Put()))) return false;
  const std::u16string device(moniker.View());
  // A device without a record has a demultiplexer without stream pins:
  // whatever the channel, its graph needs building again.
  const bool changed = !DeviceRecordTable::Has(device, KxDeviceRecord_HighDefinition) ||
                       (DeviceRecordTable::Get(device, KxDeviceRecord_HighDefinition) != 0) != pids.HighDefinition() ||
                       (DeviceRecordTable::Get(device, KxDeviceRecord_Ac3) != 0) != pids.ac3;
  DeviceRecordTable::Set(device, KxDeviceRecord_HighDefinition, pids.HighDefinition());
  DeviceRecordTable::Set(device, KxDeviceRecord_Ac3, pids.ac3);
  DeviceRecordTable::Set(device, KxDeviceRecord_VideoPid, pids.video);
  DeviceRecordTable::Set(device, KxDeviceRecord_AudioPid, pids.audio);
  DeviceRecordTable::Set(device, KxDeviceRecord_VideoStreamType, pids.videoType);
  DeviceRecordTable::Set(device, KxDeviceRecord_AudioStreamType, pids.audioType);
  return changed;
}

bool CKxGraphManagerDigitalBase::HasRendererConfigured() const {
  return m_Settings.Has(KxGraphSetting_VideoRenderer) || m_Settings.Has(KxGraphSetting_AudioRenderer);
}

void CKxGraphManagerDigitalBase::RebuildForChannelKind() {
  LONG volume = 0;
  const bool volumeRead = SUCCEEDED(get_AudioProperty(KxAudioProperty_Volume, &volume));
  log(1, "Channel type was changed -> rebuild graph");
  VARIANT_BOOL running = VARIANT_FALSE;
  get_IsGraphRunning(&running);
  StopGraph();
  HRESULT hr = RebuildGraphInPlace(static_cast<LONG>(m_Settings.Number(KxGraphSetting_GraphType)));
  traceFailure(hr,
               "(hr) = (BuildGraphInternal(static_cast<KxGraphType>(m_Settings.GetInt32Property(KxGraphSetting_"
               "GraphType))))",
               kLogFile);
  if (running && SUCCEEDED(hr)) {
    hr = StartGraph();
    traceFailure(hr, "(hr) = (StartGraph())", kLogFile);
  }
  if (volumeRead) put_AudioProperty(KxAudioProperty_Volume, volume);
}

bool CKxGraphManagerDigitalBase::IsSecondTuneRequestRequired() {
  ComPtr<IKxDeviceExtraInfo> pExtraInfo;
  HRESULT hr2 = m_pVideoDevice.As(pExtraInfo);
  traceFailure(hr2, "(hr2) = (m_pVideoDevice.QueryInterface(&pExtraInfo))", kLogFile);
  if (FAILED(hr2)) return false;
  // Extra information 8 marks the devices that take a tune request only the second time.
  Variant var;
  hr2 = pExtraInfo->GetExtraInfo(KxDeviceExtraInfo_SpecialUsbDevice, &var);
  traceFailure(hr2, "(hr2) = (pExtraInfo->get_ExtraInfo(KxExtraInfoType_IsSecondTuneRequestRequired, &var))",
               kLogFile);
  if (FAILED(hr2)) return false;
  Variant number;
  return SUCCEEDED(VariantChangeType(&number, &var, 0, VT_I4)) && number.lVal > 0;
}

HRESULT CKxGraphManagerDigitalBase::TuneChannel(IKxChannel* pChannel) {
  const bool twice = IsSecondTuneRequestRequired();
  HRESULT hr = ExecuteTuneRequestCommand(pChannel);
  if (twice) {
    log(1, "Second tune request required...");
    hr = ExecuteTuneRequestCommand(pChannel);
  }
  // S_FALSE: no plug-in qualified, so nothing was tuned yet.
  if (hr == S_OK) return hr;
  if (FAILED(hr)) log(1, "Plugin execution failed!");
  hr = PutTuneRequest(pChannel);
  traceFailure(hr, "(hr) = (PutTuneRequest(pChannel))", kLogFile);
  if (SUCCEEDED(hr) && twice) {
    log(1, "Second tune request required...");
    hr = PutTuneRequest(pChannel);
    traceFailure(hr, "(hr) = (PutTuneRequest(pChannel))", kLogFile);
  }
  return hr;
}

void CKxGraphManagerDigitalBase::ClearSinkBuffers() {
  const auto sink = m_flts.find(KxFLTTransportStreamSink);
  if (sink == m_flts.end() || !sink->second) return;
  ComPtr<IKxTransportStreamSinkControl> pSinkControl;
  HRESULT hr = sink->second.As(pSinkControl);
  traceFailure(hr, "(hr) = (m_flts[KxFLTTransportStreamSink].QueryInterface(&pSinkControl))", kLogFile);
  if (FAILED(hr)) return;
  hr = pSinkControl->ClearBuffers();
  traceFailure(hr, "(hr) = (pSinkControl->ClearBuffers())", kLogFile);
}

HRESULT CKxGraphManagerDigitalBase::GetPsiReaderFilter(IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  const auto it = m_flts.find(KxFLTMpegPsiReader);
  if (it == m_flts.end() || !it->second) return E_POINTER;
  *filter = ComPtr<IBaseFilter>(it->second).Detach();
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::ApplyCA(IKxChannel* pChannel) {
  ComPtr<IKxDevicePlugin> pDevicePlugin;
  if (FindCapablePlugin(KxDPCapability_CA, &pDevicePlugin) != S_OK) return S_FALSE;
  KxDPApplyCAParam param{-1};
  LONG lCount = 0;
  RETURN_IF_FAILED_AS("pChannel->get_PidInfoCount(&lCount)", pChannel->get_PidInfoCount(&lCount));
  for (LONG l = 0; l < lCount; ++l) {
    ComPtr<IKxPidInfo> pPidInfo;
    RETURN_IF_FAILED_AS("pChannel->get_PidInfoByIndex(l, &pPidInfo)", pChannel->get_PidInfoByIndex(l, pPidInfo.Put()));
    LONG kind = 0;
    RETURN_IF_FAILED_AS("pPidInfo->get_StreamType(&lStreamType)", pPidInfo->get_StreamType(&kind));
    if (kind != KxPidKind_Pmt) continue;
    LONG pid = -1;
    RETURN_IF_FAILED_AS("pPidInfo->get_Pid(&param.nPmtPid)", pPidInfo->get_Pid(&pid));
    param.pmtPid = pid;
    break;
  }
  ComPtr<IKxDPCommand> pCmd;
  RETURN_IF_FAILED_AS("CKxDPApplyCACommand::CreateInstance(param, &pCmd)",
                      CKxDPApplyCACommand::CreateInstance(param, pCmd.Put()));
  const HRESULT hr = pDevicePlugin->ExecuteCommand(KxDPEvent_CA, pCmd.Get());
  traceFailure(hr, "(hr) = (pDevicePlugin->ExecuteCommand(KxDPEvent_CA, pCmd))", kLogFile);
  log(1, "Execute Command ApplyCA. PMT PID: %d (0x%04x), HRESULT: 0x%08x", param.pmtPid, param.pmtPid,
      static_cast<unsigned>(hr));
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::SetupPids(IKxChannel* pChannel) {
  KxChannelPids pids;
  RETURN_IF_FAILED_AS(
      "CKxChannel::GetDefaultChannelPids(pChannel, &nVideoPid, &nAudioPid, &nPmtPid, &nVideoPidType, "
      "&nAudioPidType, &bIsAudioAC3)",
      ReadDefaultChannelPids(pChannel, &pids));
  const auto demux = m_flts.find(KxFLTMpeg2Demux);
  if (demux == m_flts.end() || !demux->second) return S_OK;
  HRESULT hr = S_OK;
  bool mapped = true;
  const struct {
    const GUID& majorType;
    LONG pid;
    const char* unmapText;
    const char* mapText;
  } streams[] = {
      {MEDIATYPE_Video, pids.video, "(hr) = (DSH::UnmapAllPIDs(pVideoPin))",
       "(hr) = (DSH::MapPinPID(pVideoPin, nVideoPid, MEDIA_ELEMENTARY_STREAM))"},
      {MEDIATYPE_Audio, pids.audio, "(hr) = (DSH::UnmapAllPIDs(pAudioPin))",
       "(hr) = (DSH::MapPinPID(pAudioPin, nAudioPid, MEDIA_ELEMENTARY_STREAM))"},
  };
  for (const auto& stream : streams) {
    ComPtr<IPin> pin;
    if (FAILED(DSH::FindPinOfType(demux->second.Get(), PINDIR_OUTPUT, stream.majorType, pin.Put()))) {
      mapped = false;
      continue;
    }
    hr = DSH::UnmapAllPIDs(pin.Get());
    traceFailure(hr, stream.unmapText, kLogFile);
    // A channel without this stream leaves its decoder without input, not fed the PAT.
    if (SUCCEEDED(hr) && IsElementaryStreamPid(stream.pid)) {
      hr = DSH::MapPinPID(pin.Get(), stream.pid, MEDIA_ELEMENTARY_STREAM);
      traceFailure(hr, stream.mapText, kLogFile);
    }
    mapped = mapped && SUCCEEDED(hr);
  }
  if (mapped) log(1, "Set video pid 0x%04x, audio pid 0x%04x", pids.video, pids.audio);
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::UpdatePidInfo(IKxChannel* pChannel) {
  if (IsRemultiplexedFormat(m_Settings.Number(KxGraphSetting_OutputFormat))) return S_OK;
  m_vecPidInfo.clear();
  LONG lCount = 0;
  RETURN_IF_FAILED_AS("pChannel->get_PidInfoCount(&lCount)", pChannel->get_PidInfoCount(&lCount));
  for (LONG l = 0; l < lCount; ++l) {
    ComPtr<IKxPidInfo> pPidInfo;
    RETURN_IF_FAILED_AS("pChannel->get_PidInfoByIndex(l, &pPidInfo)", pChannel->get_PidInfoByIndex(l, pPidInfo.Put()));
    m_vecPidInfo.push_back(pPidInfo);
  }
  return S_OK;
}
