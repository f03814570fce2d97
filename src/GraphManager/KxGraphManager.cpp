#include "GraphManager/KxGraphManager.h"

#include <new>

#include "Devices/DeviceLocks.h"
#include "GraphManager/Watchdog.h"
#include "GraphManager/WaitForSolidGraphState.h"
#include "interfaces/IKxTransportStreamSink.h"
#include "interfaces/KxFilterRole.h"
#include "logging/LogFile.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManager";
constexpr uint32_t kBuildTimeoutMs = 20000;
constexpr uint32_t kBuildThreadQuitMs = 3000;

struct DeviceNames {
  BStr moniker;
  BStr friendly;
};

HRESULT NamesOf(IKxCaptureDevice* device, DeviceNames* names) {
  RETURN_IF_FAILED(device->get_MonikerName(names->moniker.Put()));
  RETURN_IF_FAILED(device->get_FriendlyName(names->friendly.Put()));
  return S_OK;
}

HRESULT RunBuild(const std::function<HRESULT()>& build) {
  // The build runs on its own thread: nothing may escape it.
  try {
    return build();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}
}  // namespace

CKxGraphManager::CKxGraphManager() { log(1, "CKxGraphManager created [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(Address()))); }

CKxGraphManager::~CKxGraphManager() {
  DeleteGraph();
  log(1, "CKxGraphManager deleted [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(Address())));
}

HRESULT CKxGraphManager::Initialize(IKxCaptureDevice* device, bool startObserverThread) {
  AutoLock lock(m_graphLock);
  m_pVideoDevice = device;
  m_bStartObserverThread = startObserverThread;
  if (!device) return E_POINTER;
  RETURN_IF_FAILED(device->get_Manufacturer(m_bstrManufacturer.Put()));
  return S_OK;
}

HRESULT CKxGraphManager::BuildGraph(LONG graphType) {
  AutoLock lock(m_graphLock);
  log(1, "BuildGraph [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(Address())));
  if (m_Settings.Has(KxGraphSetting_GraphType)) return E_UNEXPECTED;
  if (!m_pVideoDevice) return E_POINTER;
  DeviceNames names;
  RETURN_IF_FAILED(NamesOf(m_pVideoDevice.Get(), &names));
  const HRESULT locked =
      DeviceLocks::Lock(names.friendly.Utf8().c_str(), names.moniker.Get(), graphType == KxGraphType_Playback ? 1 : 2);
  if (FAILED(locked)) {
    if (locked == E_ACCESSDENIED) log(1, "The device is already in use");
    return locked;
  }
  m_Settings.SetNumber(KxGraphSetting_GraphType, graphType);
  LogGraphSettings(m_Settings);

  const HRESULT hr = RunBuildThread(graphType);
  if (SUCCEEDED(hr)) {
    if (m_bStartObserverThread) {
      log(1, "Start graph manager observer thread");
      m_observer.Start(std::u16string(names.moniker.View()));
    }
    return hr;
  }
  m_Settings.Remove(KxGraphSetting_GraphType);
  RemoveAllFilters();
  m_flts.clear();
  DeviceLocks::Unlock(names.friendly.Utf8().c_str(), names.moniker.Get());
  m_pGraphBuilder.Reset();
  return hr;
}

HRESULT CKxGraphManager::RunBuildThread(LONG graphType) {
  auto build = std::make_shared<KxGraphBuild>();
  // The build keeps the graph manager alive: a late build must not find it gone.
  ComPtr<IKxGraphManager> self(this);
  const bool started = m_buildThread.Start([self, this, build, graphType] {
    return RunBuild([&] {
      build->graph = KxFilterGraph::Make();
      if (!build->graph) return E_OUTOFMEMORY;
      const HRESULT hr = BuildGraphInternal(graphType, *build);
      return FAILED(hr) ? hr : AfterBuildGraph(graphType, *build);
    });
  });
  if (!started) return E_OUTOFMEMORY;
  const std::optional<HRESULT> result = m_buildThread.WaitForResult(kBuildTimeoutMs);
  if (!result) {
    log(1, "ERROR: timeout reached -> filter graph could not be build");
    return E_FAIL;
  }
  if (FAILED(*result)) {
    if (!m_buildThread.Quit(kBuildThreadQuitMs)) log(1, "ERROR: timeout reached -> terminate graph build thread");
    return *result;
  }
  m_pGraphBuilder = std::move(build->graph);
  m_flts = std::move(build->filters);
  OnGraphTakenOver();
  return *result;
}

HRESULT CKxGraphManager::RebuildGraphInPlace(LONG graphType) {
  AutoLock lock(m_graphLock);
  DismantleGraph();
  return RunBuildThread(graphType);
}

void CKxGraphManager::DismantleGraph() {
  RemoveAllFilters();
  m_flts.clear();
  if (!m_buildThread.Quit(kBuildThreadQuitMs)) log(1, "ERROR: timeout reached -> terminate graph build thread");
  m_pGraphBuilder.Reset();
}

void CKxGraphManager::RemoveAllFilters() {
  if (!m_pGraphBuilder) return;
  std::vector<ComPtr<IBaseFilter>> filters;
  HRESULT hr = m_pGraphBuilder->EnumFilters(&filters);
  traceFailure(hr, "(hr) = (pGraphBuilder->EnumFilters(&pEnumFilters))", kLogFile);
  for (const ComPtr<IBaseFilter>& filter : filters) m_pGraphBuilder->RemoveFilter(filter.Get());
}

HRESULT CKxGraphManager::DeleteGraph() {
  {
    AutoLock lock(m_graphLock);
    log(1, "DeleteGraph [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(Address())));
    // A deletion already under way (perhaps the one this call came from) finishes the work.
    if (!m_Settings.Has(KxGraphSetting_GraphType) || m_bDeleting) return S_OK;
    m_bDeleting = true;
  }
  // Outside the graph lock: the observer may be in a callback that waits for it.
  m_observer.Stop();

  AutoLock lock(m_graphLock);
  StopGraph();
  DismantleGraph();
  DeviceNames names;
  if (m_pVideoDevice && SUCCEEDED(NamesOf(m_pVideoDevice.Get(), &names)))
    DeviceLocks::Unlock(names.friendly.Utf8().c_str(), names.moniker.Get());
  ResetSettings();
  m_status.Clear();
  ClearCallbacks();
  m_bDeleting = false;
  return S_OK;
}

void CKxGraphManager::ResetSettings() {
  m_Settings.Clear();
  m_outputProperties.Reset();
  m_pVideoCodec.Reset();
  m_pAudioCodec.Reset();
  m_videoCodecConfig.clear();
  m_audioCodecConfig.clear();
  m_hRendererWindow = nullptr;
}

HRESULT CKxGraphManager::StartGraph() {
  AutoLock lock(m_graphLock);
  log(1, "StartGraph [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(Address())));
  return StartGraphOnly();
}

HRESULT CKxGraphManager::PauseGraph() {
  AutoLock lock(m_graphLock);
  log(1, "PauseGraph [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(Address())));
  return PauseGraphOnly();
}

HRESULT CKxGraphManager::StopGraph() {
  AutoLock lock(m_graphLock);
  log(1, "StopGraph [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(Address())));
  return StopGraphOnly();
}

HRESULT CKxGraphManager::StartGraphOnly() { return ChangeGraphState(State_Running); }
HRESULT CKxGraphManager::PauseGraphOnly() { return ChangeGraphState(State_Paused); }
HRESULT CKxGraphManager::StopGraphOnly() { return ChangeGraphState(State_Stopped); }

HRESULT CKxGraphManager::ChangeGraphState(FILTER_STATE target) {
  AutoLock lock(m_graphLock);
  if (!m_pGraphBuilder) return E_POINTER;
  if (m_pGraphBuilder->State() == target) return S_OK;
  const auto sink = m_flts.find(KxFLTTransportStreamSink);
  if (target != State_Running) {
    m_observer.EnablePolling(false);
    if (sink != m_flts.end()) {
      ComPtr<IKxTransportStreamSinkControl> control;
      HRESULT hr = sink->second.As(control);
      traceFailure(hr, "(hr) = (m_flts[KxFLTTransportStreamSink].QueryInterface(&pSinkControl))", kLogFile);
      if (SUCCEEDED(hr)) {
        hr = control->StopDeliver();
        traceFailure(hr, "(hr) = (pSinkControl->StopDeliver())", kLogFile);
      }
    }
  }
  CGraphWatchdog watchdog;
  if (m_Settings.Has(KxGraphSetting_FilterGraphTimeout))
    watchdog.Arm(static_cast<uint32_t>(m_Settings.Number(KxGraphSetting_FilterGraphTimeout)));
  KxFilterGraph* graph = m_pGraphBuilder.Get();
  const auto solidState = [graph](uint32_t, FILTER_STATE* state) {
    *state = graph->State();
    return S_OK;
  };
  HRESULT hr;
  if (target == State_Running) {
    log(1, "RunGraph");
    hr = graph->Run();
    traceFailure(hr, "(hr) = (pCtrl->Run())", kLogFile);
  } else if (target == State_Paused) {
    log(1, "PauseGraph");
    hr = graph->Pause();
    traceFailure(hr, "(hr) = (pCtrl->Pause())", kLogFile);
  } else {
    log(1, "StopGraph");
    hr = graph->Stop();
    traceFailure(hr, "(hr) = (pCtrl->Stop())", kLogFile);
  }
  if (SUCCEEDED(hr)) {
    hr = WaitForSolidGraphState(solidState);
    traceFailure(hr, "(hr) = (WaitForSolidGraphState(pCtrl))", kLogFile);
  }
  watchdog.Disarm();
  if (FAILED(hr) || target != State_Running) return hr;

  m_observer.ResetSchedule();
  m_observer.EnablePolling(true);
  if (sink == m_flts.end()) return hr;
  ComPtr<IKxTransportStreamSinkControl> control;
  RETURN_IF_FAILED(sink->second.As(control));
  RETURN_IF_FAILED(control->StartDeliver());
  return S_OK;
}

namespace {
HRESULT StateIs(const ComPtr<KxFilterGraph>& graph, FILTER_STATE state, VARIANT_BOOL* out) {
  if (!out) return E_FAIL;
  *out = ToVariantBool(graph && graph->State() == state);
  return S_OK;
}
}  // namespace

HRESULT CKxGraphManager::get_IsGraphBuilt(VARIANT_BOOL* built) {
  if (!built) return E_POINTER;
  AutoLock lock(m_graphLock);
  *built = ToVariantBool(m_Settings.Has(KxGraphSetting_GraphType));
  return S_OK;
}

HRESULT CKxGraphManager::get_IsGraphRunning(VARIANT_BOOL* running) {
  AutoLock lock(m_graphLock);
  return StateIs(m_pGraphBuilder, State_Running, running);
}

HRESULT CKxGraphManager::get_IsGraphPaused(VARIANT_BOOL* paused) {
  AutoLock lock(m_graphLock);
  return StateIs(m_pGraphBuilder, State_Paused, paused);
}

HRESULT CKxGraphManager::get_IsGraphStopped(VARIANT_BOOL* stopped) {
  AutoLock lock(m_graphLock);
  return StateIs(m_pGraphBuilder, State_Stopped, stopped);
}
