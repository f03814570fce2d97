#include "Main/DigitalTvPlugin.h"

#include "DigitalTvPlugin/KxDigitalModule.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "DigitalTvPlugin";
}  // namespace

HRESULT CDigitalTvPlugin::get_Name(BSTR* pbstrName) { return AllocOutString(u"DigitalTvPlugin", pbstrName); }

HRESULT CDigitalTvPlugin::CreateSystemConfiguration(IUnknown** ppSystemConfiguration) {
  if (!ppSystemConfiguration) return E_POINTER;
  *ppSystemConfiguration = nullptr;
  // The system configuration (capture devices) attaches m_pHWConfig here.
  return E_NOTIMPL;
}

HRESULT CDigitalTvPlugin::GetTuningDataFromResource(BSTR bstrType, BSTR* pbstrXml) {
  if (!g_MainModule) return E_POINTER;
  RETURN_IF_FAILED(g_MainModule->GetTuningDataFromResource(bstrType, pbstrXml));
  return S_OK;
}
