#include "Tuner/KxTunerDigital.h"

#include "DigitalTvPlugin/KxDigitalModule.h"
#include "Tuner/KxTuningData.h"
#include "Tuner/TracedResult.h"
#include "devplugins/KxDPTuneRequestCommand.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "logging/LogFile.h"
#include "platform/sync/Clock.h"

namespace {
static constexpr const char* kLogFile = "KxTunerDigital";
constexpr uint32_t kSearchPollMs = 100;
constexpr uint64_t kSearchLimitMs = 20000;

// The built-in lists outside the loaded plug-in (tests, tools) come from the
// same resources.
class CBuiltInLists : public CKxDigitalModule {};

CKxDigitalModule& FrequencyLists() {
  static CBuiltInLists lists;
  return g_MainModule ? *g_MainModule : lists;
}
}  // namespace

KxDPTuneRequestParam EmptyTuneRequestParam() {
  KxDPTuneRequestParam param;
  int32_t* fields = reinterpret_cast<int32_t*>(&param);
  for (size_t i = 0; i < sizeof param / sizeof(int32_t); ++i) fields[i] = -1;
  return param;
}

HRESULT CKxTunerDigital::SetTuningData(IKxTuningData* data) {
  if (!data) return E_POINTER;
  std::lock_guard lock(m_tuningDataLock);
  if (m_pTuningData.Get() == data) return S_OK;
  m_pTuningData = ComPtr<IKxTuningData>(data);
  return S_OK;
}

HRESULT CKxTunerDigital::LoadTuningData(const char16_t* type, const char* logFile) {
  std::lock_guard lock(m_tuningDataLock);
  if (!m_pTuningData) {
    const BStr bstrType(type);
    BStr xml;
    HRESULT hr = FrequencyLists().GetTuningDataFromResource(bstrType.Get(), xml.Put());
    if (FailedTraced(hr, "(hr) = (_Module.GetTuningDataFromResource(bstrType, &bstrXml))", logFile)) return hr;
    auto data = ComObject<CKxTuningData>::Make();
    if (!data) return E_OUTOFMEMORY;
    hr = data->InitializeByString(bstrType.Get(), xml.Get());
    if (FailedTraced(hr, "(hr) = (pTuningDataObj->InitializeByString(bstrType, bstrXml))", logFile)) return hr;
    m_pTuningData = ComPtr<IKxTuningData>(data.Get());
  }
  m_pScanTuningData = m_pTuningData;
  return S_OK;
}

HRESULT CKxTunerDigital::OnBeforeStartAutoTuning() {
  if (!m_pGraphManager) return E_UNEXPECTED;
  const auto setup = QueryAs<IKxGraphManagerSetup2>(m_pGraphManager.Get());
  if (!setup) {
    traceFailure(E_NOINTERFACE, "(hr) = (m_pGraphManager->QueryInterface(&pGraphSetup))", kLogFile);
    return E_NOINTERFACE;
  }
  RETURN_IF_FAILED(setup->put_VideoRenderer2(RenderSetting(KxGraphSetting_VideoRenderer), VideoWindow()));
  RETURN_IF_FAILED(setup->put_AudioRenderer2(RenderSetting(KxGraphSetting_AudioRenderer)));
  RETURN_IF_FAILED(m_pGraphManager->BuildGraph(KxGraphType_Playback));
  HRESULT hr = LoadFrequencyList();
  traceFailure(hr, "(hr) = (LoadFrequencyList())", kLogFile);
  if (SUCCEEDED(hr)) {
    hr = m_pGraphManager->StartGraph();
    traceFailure(hr, "(hr) = (m_pGraphManager->StartGraph())", kLogFile);
  }
  // A graph built for a search that does not run would keep the device locked.
  if (FAILED(hr)) m_pGraphManager->DeleteGraph();
  return hr;
}

HRESULT CKxTunerDigital::GetExtraInfo(LONG type, IUnknown** info) {
  const auto extra = QueryAs<IKxGraphManagerExtraInfo>(m_pGraphManager.Get());
  if (!extra) return E_NOINTERFACE;
  return extra->get_ExtraInfo(type, info);
}

HRESULT CKxTunerDigital::GetScanningTuner(IScanningTuner** tuner) {
  ComPtr<IUnknown> object;
  RETURN_IF_FAILED(GetExtraInfo(KxExtraInfoType_ScanningTuner, object.Put()));
  if (!object) return E_NOINTERFACE;
  return object->QueryInterface(IidOf<IScanningTuner>(), reinterpret_cast<void**>(tuner));
}

HRESULT CKxTunerDigital::PutTuneRequest(ITuneRequest* request) {
  ComPtr<IScanningTuner> tuner;
  RETURN_IF_FAILED(GetScanningTuner(tuner.Put()));
  RETURN_IF_FAILED(tuner->put_TuneRequest(request));
  return S_OK;
}

HRESULT CKxTunerDigital::ExecuteDevicePluginCommand(LONG extraInfoType, LONG deviceType,
                                                    const KxDPTuneRequestParam& param) {
  if (!m_pGraphManager) return E_FAIL;
  ComPtr<IUnknown> found;
  if (FAILED(GetExtraInfo(extraInfoType, found.Put())) || !found) return E_FAIL;
  const auto plugin = QueryAs<IKxDevicePlugin>(found.Get());
  if (!plugin) return E_FAIL;
  ComPtr<IKxDPCommand> command;
  RETURN_IF_FAILED(CKxDPTuneRequestCommand::CreateInstance(deviceType, param, command.Put()));
  const HRESULT hr = plugin->ExecuteCommand(KxDPEvent_TuneRequest, command.Get());
  log(1, "Result: 0x%08x", static_cast<unsigned>(hr));
  return hr;
}

HRESULT CKxTunerDigital::Tune(const KxScanRecord& tp) {
  if (SUCCEEDED(ExecutePluginTuneRequest(tp))) return S_OK;
  log(1, "Plugin execution failed!");
  ComPtr<ITuneRequest> request;
  RETURN_IF_FAILED(CreateTuneRequest(request.Put()));
  RETURN_IF_FAILED(PutTuneRequest(request.Get()));
  return S_OK;
}

HRESULT CKxTunerDigital::ScanTransponder() {
  KxScanRecord tp;
  HRESULT hr = GetTuningItem(tp);
  if (FailedTraced(hr, "(hr) = (GetTuningItem(tp))", kLogFile)) return hr;
  hr = Tune(tp);
  if (FAILED(hr)) {
    // Routine in a scan list (a frequency outside the frontend's range): the
    // next record may still tune.
    log(1, "Tuning to %d kHz failed (0x%08X): going on with the next frequency", static_cast<int>(tp.nFrequency),
        static_cast<unsigned>(hr));
    return S_OK;
  }
  ComPtr<IUnknown> psiRenderer;
  RETURN_IF_FAILED(GetExtraInfo(KxExtraInfoType_PsiReaderFilter, psiRenderer.Put()));
  if (const auto reader = QueryAs<IMpeg2PsiReader>(psiRenderer.Get())) reader->ResetStreamInfo();

  SignalReading signal;
  WaitForLock(&signal);
  if (StopRequested()) return S_OK;
  log(1, "signal statistic: strength: %d, quality: %d, present: %d", static_cast<int>(signal.strength),
      static_cast<int>(signal.quality), signal.present ? 1 : 0);
  if (const auto callback = Callback())
    callback->OnSignalStatistic(m_bstrMonikerName.Get(), signal.quality, signal.strength);
  m_lCurrSignalQuality = signal.quality;
  if (signal.read && !signal.present) {
    log(1, "No signal at %d kHz after %u ms: no channel search", static_cast<int>(tp.nFrequency),
        static_cast<unsigned>(signal.lockTimeMs));
    return S_OK;
  }
  return SearchChannels(psiRenderer.Get(), tp);
}

HRESULT CKxTunerDigital::SearchChannels(IUnknown* psiRenderer, const KxScanRecord& tp) {
  const auto search = QueryAs<IChannelSearch>(psiRenderer);
  if (!search) {
    traceFailure(E_NOINTERFACE, "(hr) = (pPsiReaderFilter->QueryInterface(&pChannelSearch))", kLogFile);
    return E_NOINTERFACE;
  }
  RETURN_IF_FAILED(search->StartChannelScan(GetChannelSearchFlags()));
  const uint64_t started = CurrentClock().NowMs();
  for (;;) {
    VARIANT_BOOL completed = VARIANT_FALSE;
    if (SUCCEEDED(search->get_IsChannelSearchCompleted(&completed)) && completed != VARIANT_FALSE) {
      log(1, "Channel search completed");
      break;
    }
    if (CurrentClock().NowMs() - started >= kSearchLimitMs || WaitForStop(kSearchPollMs)) break;
  }
  RETURN_IF_FAILED(search->StopChannelScan());
  if (StopRequested()) return S_OK;
  ComPtr<IChannels> channels;
  RETURN_IF_FAILED(search->get_Channels(channels.Put()));
  RETURN_IF_FAILED(CreateChannels(channels.Get(), tp));
  ComPtr<ITransponderFrequencies> frequencies;
  if (SUCCEEDED(search->get_TransponderFrequencies(frequencies.Put())) && frequencies)
    RETURN_IF_FAILED(UpdateTransponderFrequencies(frequencies.Get()));
  return S_OK;
}

LONG CKxTunerDigital::GetChannelSearchFlags() {
  LONG flags = 0;
  if (PropertyIsTrue(KxTunerProperty_NetworkSearch)) flags |= 1;
  if (PropertyIsTrue(KxTunerProperty_WaitForNit)) flags |= 2;
  return flags;
}
