// What the host and the observer read from the graph manager, the video
// window, and the device plug-ins' view of it.
#include "Channel/KxEnumPidInfo.h"
#include "GraphManager/KxGraphManager.h"
#include "GraphManager/StreamFormat.h"
#include "interfaces/KxFilterRole.h"
#include "logging/LogFile.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManager";
}  // namespace

HRESULT CKxGraphManager::get_MacrovisionLevel(LONG* level) {
  if (!level) return E_POINTER;
  *level = static_cast<LONG>(m_status.Get(KxGraphStatus_CopyProtectionLevel).value_or(0));
  return S_OK;
}

HRESULT CKxGraphManager::get_PidInfos(IKxEnumPidInfo** pidInfos) {
  if (!pidInfos) return E_POINTER;
  AutoLock lock(m_graphLock);
  return ComObject<CKxEnumPidInfo>::CreateAndQuery(pidInfos, static_cast<IKxGraphManager*>(this), m_vecPidInfo);
}

HRESULT CKxGraphManager::get_SignalStatus(VARIANT_BOOL* locked, LONG* quality, LONG* strength) {
  if (!locked || !quality || !strength) return E_POINTER;
  // Before the first poll the signal counts as good.
  const auto lockedValue = m_status.Get(KxGraphStatus_Locked);
  if (!lockedValue) {
    *locked = VARIANT_TRUE;
    *quality = *strength = 100;
    return S_OK;
  }
  *locked = ToVariantBool(*lockedValue != 0);
  *quality = static_cast<LONG>(m_status.Get(KxGraphStatus_SignalQuality).value_or(0));
  *strength = static_cast<LONG>(m_status.Get(KxGraphStatus_SignalStrength).value_or(0));
  return S_OK;
}

HRESULT CKxGraphManager::get_TransponderInfo(IKxTransponderInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  // Only a graph with a PSI renderer knows its transponder.
  return E_NOINTERFACE;
}

HRESULT CKxGraphManager::get_IsScrambled(VARIANT_BOOL* scrambled) {
  if (!scrambled) return E_POINTER;
  *scrambled = ToVariantBool(m_status.Get(KxGraphStatus_Scrambled).value_or(0) != 0);
  return S_OK;
}

HRESULT CKxGraphManager::StreamPinType(bool video, AM_MEDIA_TYPE* type) {
  ComPtr<IPin> pPin;
  if (video)
    RETURN_IF_FAILED(GetPinForVideoStreamProperties(pPin.Put()));
  else
    RETURN_IF_FAILED(GetPinForAudioStreamProperties(pPin.Put()));
  if (!pPin) return E_POINTER;
  RETURN_IF_FAILED(pPin->ConnectionMediaType(type));
  return S_OK;
}

HRESULT CKxGraphManager::get_VideoInfo(IKxVideoInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  AutoLock lock(m_graphLock);
  AM_MEDIA_TYPE type;
  RETURN_IF_FAILED(StreamPinType(true, &type));
  KxVideoFormat format;
  RETURN_IF_FAILED(ReadVideoFormat(type, &format));
  RETURN_IF_FAILED(ComObject<CKxVideoInfo>::CreateAndQuery(info, format));
  return S_OK;
}

HRESULT CKxGraphManager::get_AudioInfo(IKxAudioInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  AutoLock lock(m_graphLock);
  AM_MEDIA_TYPE type;
  RETURN_IF_FAILED(StreamPinType(false, &type));
  KxAudioFormat format;
  RETURN_IF_FAILED(ReadAudioFormat(type, &format));
  RETURN_IF_FAILED(ComObject<CKxAudioInfo>::CreateAndQuery(info, format));
  return S_OK;
}

HRESULT CKxGraphManager::GetVideoFormat(KxVideoFormat* format) {
  AM_MEDIA_TYPE type;
  const HRESULT hr = StreamPinType(true, &type);
  return FAILED(hr) ? hr : ReadVideoFormat(type, format);
}

bool CKxGraphManager::TakeGraphEvent(GraphEvent* event) {
  ComPtr<KxFilterGraph> graph;
  if (!m_graphLock.try_lock()) return false;
  graph = m_pGraphBuilder;
  m_graphLock.unlock();
  return graph && graph->GetEvent(event, 0);
}

// This port has no video renderer window of its own: the owner, position and
// full-screen mode are kept for the renderer the graph has.
HRESULT CKxGraphManager::put_VideoWindowOwner(HWND owner) {
  AutoLock lock(m_graphLock);
  if (!owner || !HasVideoRenderer()) return E_POINTER;
  m_hVideoWindowOwner = owner;
  return S_OK;
}

HRESULT CKxGraphManager::SetWindowPosition(LONG x, LONG y, LONG width, LONG height) {
  AutoLock lock(m_graphLock);
  if (!HasVideoRenderer()) return E_POINTER;
  m_windowPosition[0] = x;
  m_windowPosition[1] = y;
  m_windowPosition[2] = width;
  m_windowPosition[3] = height;
  return S_OK;
}

HRESULT CKxGraphManager::GetWindowPosition(LONG* x, LONG* y, LONG* width, LONG* height) {
  if (!x || !y || !width || !height) return E_POINTER;
  AutoLock lock(m_graphLock);
  if (!HasVideoRenderer()) return E_POINTER;
  *x = m_windowPosition[0];
  *y = m_windowPosition[1];
  *width = m_windowPosition[2];
  *height = m_windowPosition[3];
  return S_OK;
}

HRESULT CKxGraphManager::put_FullScreenMode(VARIANT_BOOL fullScreen) {
  AutoLock lock(m_graphLock);
  if (!HasVideoRenderer()) return E_POINTER;
  m_bFullScreen = fullScreen != VARIANT_FALSE;
  return S_OK;
}

HRESULT CKxGraphManager::get_FullScreenMode(VARIANT_BOOL* fullScreen) {
  if (!fullScreen) return E_POINTER;
  AutoLock lock(m_graphLock);
  if (!HasVideoRenderer()) return E_POINTER;
  *fullScreen = ToVariantBool(m_bFullScreen);
  return S_OK;
}

HRESULT CKxGraphManager::GetFilter(LONG role, IUnknown** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  AutoLock lock(m_graphLock);
  const auto it = m_flts.find(role);
  if (it == m_flts.end() || !it->second) return E_FAIL;
  return it->second->QueryInterface(IidOf<IUnknown>(), reinterpret_cast<void**>(filter));
}

HRESULT CKxGraphManager::GetVideoDeviceMoniker(BSTR* moniker) {
  if (!moniker) return E_POINTER;
  if (!m_pVideoDevice) return E_FAIL;
  return m_pVideoDevice->get_MonikerName(moniker);
}

HRESULT CKxGraphManager::GetHardwareEnumerator(IUnknown** enumerator) {
  if (!enumerator) return E_POINTER;
  if (!m_pHWEnum) return E_FAIL;
  return m_pHWEnum.CopyTo(enumerator);
}

HRESULT CKxGraphManager::GetCaptureDeviceType(LONG* type) {
  if (!type) return E_POINTER;
  if (!m_pVideoDevice) return E_FAIL;
  return m_pVideoDevice->get_DeviceType(type);
}

HRESULT CKxGraphManager::GetDeviceManufacturer(BSTR* manufacturer) {
  if (!manufacturer) return E_POINTER;
  *manufacturer = SysAllocStringLen(m_bstrManufacturer.View().data(), m_bstrManufacturer.Length());
  return S_OK;
}
