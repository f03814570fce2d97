// The settings that shape a graph before it is built.
#include <algorithm>

#include "DSH/DSH.h"
#include "GraphManager/KxGraphManager.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManager";
constexpr LONG kMaxCodecConfig = 1000;

int64_t Combine(LONG low, LONG high) {
  return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) |
                              static_cast<uint32_t>(low));
}
}  // namespace

HRESULT CKxGraphManager::put_AudioDevice(IUnknown* device) {
  m_pAudioDevice = device;
  return S_OK;
}

HRESULT CKxGraphManager::put_OutputTarget(LONG kind, VARIANT target) {
  m_pOutputSinkFilter.Reset();
  m_pTransportStreamCallback.Reset();
  m_pOutputStream.Reset();
  if (kind < KxOutputTarget_SinkFilter || kind > KxOutputTarget_Stream) return E_INVALIDARG;
  if (target.vt != VT_UNKNOWN || !target.punkVal) return E_INVALIDARG;
  ComPtr<IUnknown> object(target.punkVal);
  if (kind == KxOutputTarget_TransportStreamCallback) {
    m_pTransportStreamCallback = object;
    return S_OK;
  }
  if (kind == KxOutputTarget_SinkFilter) RETURN_IF_FAILED(object.As(m_pOutputSinkFilter));
  if (kind == KxOutputTarget_Stream) RETURN_IF_FAILED(object.As(m_pOutputStream));
  return S_OK;
}

HRESULT CKxGraphManager::put_CaptureFilePath(BSTR path) {
  AutoLock lock(m_graphLock);
  const std::u16string text = path ? std::u16string(path, SysStringLen(path)) : std::u16string();
  m_Settings.SetText(KxGraphSetting_CaptureFilePath, text);
  if (text.empty() || !m_pGraphBuilder || m_pGraphBuilder->State() != State_Stopped) return S_OK;
  std::vector<ComPtr<IBaseFilter>> filters;
  RETURN_IF_FAILED(m_pGraphBuilder->EnumFilters(&filters));
  for (const ComPtr<IBaseFilter>& filter : filters) {
    ComPtr<IFileSinkFilter> fileSink = QueryAs<IFileSinkFilter>(filter.Get());
    if (!fileSink) continue;
    RETURN_IF_FAILED(fileSink->SetFileName(text.c_str(), nullptr));
    log(1, "capture file name changed to %s", Utf16ToUtf8(text).c_str());
    break;
  }
  return S_OK;
}

HRESULT CKxGraphManager::put_VideoRenderer(VARIANT_BOOL enable, HWND window) {
  return put_VideoRenderer2(enable ? 1 : 0, window);
}

HRESULT CKxGraphManager::put_AudioRenderer(VARIANT_BOOL enable) { return put_AudioRenderer2(enable ? 1 : 0); }

HRESULT CKxGraphManager::put_VideoRenderer2(LONG type, HWND window) {
  if (type == 0) {
    m_Settings.Remove(KxGraphSetting_VideoRenderer);
    m_hRendererWindow = nullptr;
  } else {
    m_Settings.SetNumber(KxGraphSetting_VideoRenderer, type);
    m_hRendererWindow = window;
  }
  return S_OK;
}

HRESULT CKxGraphManager::put_AudioRenderer2(LONG type) {
  if (type == 0)
    m_Settings.Remove(KxGraphSetting_AudioRenderer);
  else
    m_Settings.SetNumber(KxGraphSetting_AudioRenderer, type);
  return S_OK;
}

HRESULT CKxGraphManager::TakeCodec(BSTR monikerName, ComPtr<IBaseFilter>* codec) {
  AutoLock lock(m_graphLock);
  codec->Reset();
  if (!monikerName || SysStringLen(monikerName) == 0) return S_OK;
  ComPtr<IUnknown> pFilter;
  RETURN_IF_FAILED(DSH::CreateFilterByMonikerName(monikerName, pFilter.Put()));
  RETURN_IF_FAILED(pFilter.As(*codec));
  return S_OK;
}

HRESULT CKxGraphManager::put_VideoCodec(BSTR monikerName) { return TakeCodec(monikerName, &m_pVideoCodec); }
HRESULT CKxGraphManager::put_AudioCodec(BSTR monikerName) { return TakeCodec(monikerName, &m_pAudioCodec); }

HRESULT CKxGraphManager::CopyCodecConfig(LONG size, const uint8_t* data, std::vector<uint8_t>* config) {
  if (!data) return E_POINTER;
  if (size < 1 || size > kMaxCodecConfig) return E_INVALIDARG;
  AutoLock lock(m_graphLock);
  config->assign(data, data + size);
  return S_OK;
}

HRESULT CKxGraphManager::put_VideoCodecConfig(LONG size, const uint8_t* data) {
  return CopyCodecConfig(size, data, &m_videoCodecConfig);
}

HRESULT CKxGraphManager::put_AudioCodecConfig(LONG size, const uint8_t* data) {
  return CopyCodecConfig(size, data, &m_audioCodecConfig);
}

HRESULT CKxGraphManager::put_CodecSetting20(LONG value) {
  AutoLock lock(m_graphLock);
  m_Settings.SetNumber(20, value);
  return S_OK;
}

HRESULT CKxGraphManager::put_CodecSetting21(LONG value) {
  AutoLock lock(m_graphLock);
  m_Settings.SetNumber(21, value);
  return S_OK;
}

HRESULT CKxGraphManager::put_CodecSetting25(LONG low, LONG high) {
  AutoLock lock(m_graphLock);
  m_Settings.SetNumber(25, Combine(low, high));
  return S_OK;
}

HRESULT CKxGraphManager::put_CodecSetting26(LONG low, LONG high) {
  AutoLock lock(m_graphLock);
  m_Settings.SetNumber(26, Combine(low, high));
  return S_OK;
}

HRESULT CKxGraphManager::put_CodecSetting22(LONG value) {
  AutoLock lock(m_graphLock);
  m_Settings.SetNumber(22, value);
  return S_OK;
}

HRESULT CKxGraphManager::put_CodecSettings23And24(LONG value23, LONG value24) {
  AutoLock lock(m_graphLock);
  m_Settings.SetNumber(23, value23);
  m_Settings.SetNumber(24, value24);
  return S_OK;
}

HRESULT CKxGraphManager::put_OutputProperty(LONG id, VARIANT value) { return m_outputProperties.Put(id, value); }

HRESULT CKxGraphManager::get_OutputProperty(LONG id, VARIANT* value) { return m_outputProperties.Get(id, value); }

HRESULT CKxGraphManager::put_FilterGraphTimeout(VARIANT_BOOL enable, LONG ms) {
  if (enable) {
    const LONG stored = std::max<LONG>(ms, 10000);
    m_Settings.SetNumber(KxGraphSetting_FilterGraphTimeout, stored);
    log(1, "Filter graph timeout: %d", stored);
  } else {
    m_Settings.Remove(KxGraphSetting_FilterGraphTimeout);
    log(1, "Filter graph timeout deactivated");
  }
  return S_OK;
}

HRESULT CKxGraphManager::get_FilterGraphTimeout(VARIANT_BOOL* enabled, LONG* ms) {
  // Both are checked before either is written.
  if (!ms || !enabled) return E_POINTER;
  *ms = 0;
  *enabled = VARIANT_FALSE;
  if (m_Settings.Has(KxGraphSetting_FilterGraphTimeout)) {
    *enabled = VARIANT_TRUE;
    *ms = static_cast<LONG>(m_Settings.Number(KxGraphSetting_FilterGraphTimeout));
  }
  return S_OK;
}
