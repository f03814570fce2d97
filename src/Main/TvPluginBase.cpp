#include "Main/TvPluginBase.h"

HRESULT CTvPluginBase::get_Name(BSTR* pbstrName) { return AllocOutString(u"TvPluginBase", pbstrName); }

HRESULT CTvPluginBase::get_PluginVersion(LONG* plVersion) {
  if (!plVersion) return E_POINTER;
  *plVersion = 1;
  return S_OK;
}

HRESULT CTvPluginBase::SetHardwareConfig(IUnknown* pHWConfig) {
  if (!pHWConfig) return E_POINTER;
  // The held pointer is replaced without a lock: the host sets it before it
  // creates configurations.
  if (pHWConfig != m_pHWConfig.Get()) m_pHWConfig = pHWConfig;
  return S_OK;
}

HRESULT CTvPluginBase::ReleaseHardwareConfig() {
  m_pHWConfig.Reset();
  return S_OK;
}

HRESULT CTvPluginBase::CreateSystemConfiguration(IUnknown** ppSystemConfiguration) {
  if (!ppSystemConfiguration) return E_POINTER;
  return E_NOTIMPL;
}
