#include "GraphManager/KxGraphManagerDigitalBase.h"

#include "Channel/StreamInfoFilling.h"
#include "GraphManager/CallbackTypes.h"
#include "devplugins/BuiltInDevicePlugins.h"
#include "interfaces/KxFilterRole.h"
#include "logging/LogFile.h"
#include "platform/graph/SystemClock.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDigitalBase";
constexpr LONG kAudioRendererRole = 3;

// The input pin of `renderer` is fed by the decoder output the host asks about.
HRESULT DecoderOutputOf(IBaseFilter* renderer, IPin** pin) {
  if (!renderer) return E_POINTER;
  std::vector<ComPtr<IPin>> pins;
  RETURN_IF_FAILED(renderer->EnumPins(&pins));
  for (const ComPtr<IPin>& input : pins) {
    PIN_DIRECTION direction;
    if (SUCCEEDED(input->QueryDirection(&direction)) && direction == PINDIR_INPUT) return input->ConnectedTo(pin);
  }
  return E_POINTER;
}
}  // namespace

CKxGraphManagerDigitalBase::~CKxGraphManagerDigitalBase() { DeleteGraph(); }

bool CKxGraphManagerDigitalBase::IsCallbackTypeSupported(LONG type) { return IsDigitalCallbackType(type); }

template <class Interface>
HRESULT CKxGraphManagerDigitalBase::PsiRenderer(ComPtr<Interface>* out) {
  ComPtr<IBaseFilter> renderer;
  {
    AutoLock lock(m_graphLock);
    const auto it = m_flts.find(KxFLTMpegPsiReader);
    if (it != m_flts.end()) renderer = it->second;
  }
  if (!renderer) return E_POINTER;
  return renderer.As(*out);
}

template HRESULT CKxGraphManagerDigitalBase::PsiRenderer(ComPtr<IMpeg2PsiReader>*);
template HRESULT CKxGraphManagerDigitalBase::PsiRenderer(ComPtr<IEpg>*);
template HRESULT CKxGraphManagerDigitalBase::PsiRenderer(ComPtr<IBackgroundEpg>*);
template HRESULT CKxGraphManagerDigitalBase::PsiRenderer(ComPtr<IBaseFilter>*);

HRESULT CKxGraphManagerDigitalBase::DeleteGraph() {
  ReleaseRetiredPsiRenderer();
  // The background EPG thread is joined before the graph lock is taken.
  if (m_lEpgState == KxEpgState_Background) StopBackgroudEpg();
  CKxGraphManager::DeleteGraph();
  // A later graph may start an EPG scan of its own.
  m_lEpgState = KxEpgState_Idle;
  std::shared_ptr<CDevicePluginManager> plugins;
  {
    std::lock_guard lock(m_pluginLock);
    plugins = std::move(m_pDevicePluginManager);
  }
  return S_OK;
}

void CKxGraphManagerDigitalBase::ReleaseRetiredPsiRenderer() {
  ComPtr<IBaseFilter> retired;
  {
    std::lock_guard lock(m_retiredLock);
    retired = std::move(m_pRetiredPsiRenderer);
  }
}

HRESULT CKxGraphManagerDigitalBase::StartGraph() {
  ReleaseRetiredPsiRenderer();
  AutoLock lock(m_graphLock);
  log(1, "StartGraph [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(this)));
  const HRESULT hr = StartGraphOnly();
  if (SUCCEEDED(hr) && m_pGraphBuilder && m_lEpgState == KxEpgState_Background) {
    const HRESULT epg = StartBackgroudEpg();
    traceFailure(epg, "(hr) = (StartBackgroudEpg())", kLogFile);
  }
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::StopGraph() {
  bool graphExists;
  {
    AutoLock lock(m_graphLock);
    graphExists = m_pGraphBuilder != nullptr;
  }
  // Joined outside the graph lock: the EPG thread may be waiting for it.
  if (graphExists && m_lEpgState == KxEpgState_Background) StopBackgroudEpg();
  AutoLock lock(m_graphLock);
  log(1, "StopGraph [%08X]", static_cast<unsigned>(reinterpret_cast<uintptr_t>(this)));
  return StopGraphOnly();
}

HRESULT CKxGraphManagerDigitalBase::AfterBuildGraph(LONG graphType, KxGraphBuild& build) {
  if (build.filters.count(KxFLTVideoRenderer) != 0 || build.filters.count(kAudioRendererRole) != 0) return S_OK;
  if (!m_pSystemClock) {
    log(1, "Create and Set System Clock");
    m_pSystemClock = ComObject<CSystemClock>::Make();
  }
  if (m_pSystemClock) {
    const HRESULT hr = build.graph->SetSyncSource(m_pSystemClock.Get());
    traceFailure(hr, "(hr) = (pMediaFilter->SetSyncSource(m_pSystemClock))", kLogFile);
  }
  return S_OK;
}

void CKxGraphManagerDigitalBase::OnGraphTakenOver() {
  auto plugins = std::make_shared<CDevicePluginManager>(static_cast<IDPGraphManager*>(this), BuiltInDevicePlugins());
  std::lock_guard lock(m_pluginLock);
  std::swap(m_pDevicePluginManager, plugins);
}

std::shared_ptr<CDevicePluginManager> CKxGraphManagerDigitalBase::DevicePlugins() {
  std::lock_guard lock(m_pluginLock);
  return m_pDevicePluginManager;
}

HRESULT CKxGraphManagerDigitalBase::GetPinForVideoStreamProperties(IPin** pin) {
  if (!pin) return E_POINTER;
  const auto it = m_flts.find(KxFLTVideoRenderer);
  const HRESULT hr = DecoderOutputOf(it == m_flts.end() ? nullptr : it->second.Get(), pin);
  traceFailure(hr, "(hr) = (m_pVideoDecoderOutPin.CopyTo(ppPin))", kLogFile);
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::GetPinForAudioStreamProperties(IPin** pin) {
  if (!pin) return E_POINTER;
  const auto it = m_flts.find(kAudioRendererRole);
  const HRESULT hr = DecoderOutputOf(it == m_flts.end() ? nullptr : it->second.Get(), pin);
  traceFailure(hr, "(hr) = (m_pAudioDecoderOutPin.CopyTo(ppPin))", kLogFile);
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::get_VideoInfo(IKxVideoInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  AutoLock lock(m_graphLock);
  ComPtr<IPin> pin;
  RETURN_IF_FAILED(GetPinForVideoStreamProperties(pin.Put()));
  auto object = ComObject<CKxVideoInfo>::Make();
  if (!object) return E_OUTOFMEMORY;
  RETURN_IF_FAILED(FillVideoInfo(pin.Get(), object.Get()));
  *info = object.Detach();
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_AudioInfo(IKxAudioInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  AutoLock lock(m_graphLock);
  ComPtr<IPin> pin;
  RETURN_IF_FAILED(GetPinForAudioStreamProperties(pin.Put()));
  auto object = ComObject<CKxAudioInfo>::Make();
  if (!object) return E_OUTOFMEMORY;
  RETURN_IF_FAILED(FillAudioInfo(pin.Get(), object.Get()));
  *info = object.Detach();
  return S_OK;
}
