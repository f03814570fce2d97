#include "Tuner/KxTuner.h"

#include <cstdio>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
static constexpr const char* kLogFile = "KxTuner";

Variant Int16Variant(int16_t value) {
  Variant v;
  v.vt = VT_I2;
  v.iVal = value;
  return v;
}
}  // namespace

CKxTuner::CKxTuner() {
  m_properties[KxTunerProperty_NetworkSearch] = Int16Variant(-1);
  m_properties[KxTunerProperty_WaitForNit] = Int16Variant(0);
}

CKxTuner::~CKxTuner() = default;

HRESULT CKxTuner::Initialize(IKxCaptureDevice* device, IKxGraphManager* graphManager) {
  if (!device || !graphManager) return E_POINTER;
  m_pVideoDevice = ComPtr<IKxCaptureDevice>(device);
  m_pGraphManager = ComPtr<IKxGraphManager>(graphManager);
  RETURN_IF_FAILED(m_pVideoDevice->get_MonikerName(m_bstrMonikerName.Put()));
  return S_OK;
}

HRESULT CKxTuner::StartAutoTuning(IUnknown* callback) {
  AutoLock lock(m_lock);
  if (!callback) return E_POINTER;
  if (m_bWorkerStarted) return E_UNEXPECTED;
  RETURN_IF_FAILED(OnBeforeStartAutoTuning());
  {
    std::lock_guard data(m_dataLock);
    m_callback = QueryAs<IKxTunerCallback>(callback);
  }
  m_stopEvent.ResetEvent();
  if (!m_worker.Start(THREAD_PRIORITY_NORMAL)) {
    traceFailure(E_FAIL, "(hr) = (StartThread())", kLogFile);
    OnAfterStopAutoTuning();  // the graph built for it would keep the device locked
    return E_FAIL;
  }
  m_bWorkerStarted = true;
  RETURN_IF_FAILED(OnAfterStartAutoTuning());
  return S_OK;
}

HRESULT CKxTuner::StopAutoTuning() {
  if (OnWorkerThread()) {
    // Asked from a callback: the worker cannot wait for itself. It ends at
    // its next poll; the host's next stop clears the rest.
    m_stopEvent.Set();
    return S_OK;
  }
  AutoLock lock(m_lock);
  traceFailure(OnBeforeStopAutoTuning(), "(hr) = (OnBeforeStopAutoTuning())", kLogFile);
  StopWorker();
  traceFailure(OnAfterStopAutoTuning(), "(hr) = (OnAfterStopAutoTuning())", kLogFile);
  std::lock_guard data(m_dataLock);
  m_callback.Reset();
  return S_OK;
}

void CKxTuner::StopWorker() {
  AutoLock lock(m_lock);
  if (!m_bWorkerStarted) return;
  // Every wait of the worker also waits on this event, so it ends within one
  // poll; the stop returns only when it has ended.
  m_stopEvent.Set();
  if (m_worker.Join()) m_bWorkerStarted = false;
}

HRESULT CKxTuner::OnAfterStopAutoTuning() {
  if (!m_pGraphManager) return S_OK;
  RETURN_IF_FAILED(m_pGraphManager->DeleteGraph());
  return S_OK;
}

HRESULT CKxTuner::put_VideoRenderer(VARIANT_BOOL enable, HWND window) {
  std::lock_guard data(m_dataLock);
  if (enable != VARIANT_FALSE) {
    m_renderSettings[KxGraphSetting_VideoRenderer] = 7;
    m_hVideoWindow = window;
  } else {
    m_renderSettings.erase(KxGraphSetting_VideoRenderer);
    m_hVideoWindow = nullptr;
  }
  return S_OK;
}

HRESULT CKxTuner::put_AudioRenderer(VARIANT_BOOL enable) {
  std::lock_guard data(m_dataLock);
  if (enable != VARIANT_FALSE)
    m_renderSettings[KxGraphSetting_AudioRenderer] = 1;
  else
    m_renderSettings.erase(KxGraphSetting_AudioRenderer);
  return S_OK;
}

LONG CKxTuner::RenderSetting(LONG key) const {
  std::lock_guard data(m_dataLock);
  const auto found = m_renderSettings.find(key);
  return found == m_renderSettings.end() ? 0 : found->second;
}

HRESULT CKxTuner::put_Property(LONG key, VARIANT value) {
  Variant copy;
  RETURN_IF_FAILED(VariantCopy(&copy, &value));
  std::lock_guard data(m_dataLock);
  m_properties[key] = copy;
  return S_OK;
}

HRESULT CKxTuner::get_Property(LONG key, VARIANT* value) {
  std::lock_guard data(m_dataLock);
  const auto found = m_properties.find(key);
  if (found == m_properties.end()) return E_FAIL;
  if (!value) return E_POINTER;
  VariantInit(value);
  return VariantCopy(value, &found->second);
}

bool CKxTuner::PropertyIsTrue(LONG key) const {
  std::lock_guard data(m_dataLock);
  const auto found = m_properties.find(key);
  if (found == m_properties.end()) return false;
  const VARIANT& v = found->second;
  return (v.vt == VT_I4 && v.lVal == 1) || (v.vt == VT_I2 && v.iVal == -1);
}

ComPtr<IKxTunerCallback> CKxTuner::Callback() const {
  std::lock_guard data(m_dataLock);
  return m_callback;
}

HRESULT CKxTuner::OnBeforeScanStep() {
  if (const auto callback = Callback()) {
    char text[64];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(GetCurrentFrequency()));
    const BStr status(Utf8ToUtf16(text));
    callback->OnStatusText(m_bstrMonikerName.Get(), status.Get());
  }
  return S_OK;
}

HRESULT CKxTuner::OnAfterScanStep() {
  if (const auto callback = Callback()) {
    const LONG progress = GetProgress();
    callback->OnProgress(m_bstrMonikerName.Get(), progress);
    log(1, "scan progress: %d", static_cast<int>(progress));
  }
  return S_OK;
}

void CKxTuner::TunerThreadProc() {
  m_workerThread.store(std::this_thread::get_id());
  log(1, "TunerThreadProc started");
  HRESULT hr = S_OK;
  while (!StopRequested() && !IsScanFinished()) {
    hr = OnBeforeScanStep();
    if (FAILED(hr)) {
      traceFailure(hr, "(hr) = (OnBeforeScanStep())", kLogFile);
      break;
    }
    if (IsScanFinished()) break;
    hr = OnScanStep();
    if (FAILED(hr)) {
      traceFailure(hr, "(hr) = (OnScanStep())", kLogFile);
      break;
    }
    // After every step, the last one included, so that the host sees 100.
    hr = OnAfterScanStep();
    if (FAILED(hr)) {
      traceFailure(hr, "(hr) = (OnAfterScanStep())", kLogFile);
      break;
    }
  }
  if (const auto callback = Callback()) callback->OnFinished(m_bstrMonikerName.Get());
  log(1, "TunerThreadProc finished");
  m_workerThread.store(std::thread::id{});
}
