#include "Main/DigitalTvPlugin.h"

#include "Devices/KxSystemConfiguration.h"
#include "DigitalTvPlugin/KxDigitalModule.h"
#include "interfaces/IKxHWConfig.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "DigitalTvPlugin";
}  // namespace

HRESULT CDigitalTvPlugin::get_Name(BSTR* pbstrName) { return AllocOutString(u"DigitalTvPlugin", pbstrName); }

HRESULT CDigitalTvPlugin::CreateSystemConfiguration(IUnknown** ppSystemConfiguration) {
  if (!ppSystemConfiguration) return E_POINTER;
  *ppSystemConfiguration = nullptr;
  const ComPtr<IKxHWConfig> hwConfig = QueryAs<IKxHWConfig>(m_pHWConfig.Get());
  RETURN_IF_FAILED(CreateSystemConfigurationObject(hwConfig.Get(), ppSystemConfiguration));
  return S_OK;
}

HRESULT CDigitalTvPlugin::GetTuningDataFromResource(BSTR bstrType, BSTR* pbstrXml) {
  if (!g_MainModule) return E_POINTER;
  RETURN_IF_FAILED(g_MainModule->GetTuningDataFromResource(bstrType, pbstrXml));
  return S_OK;
}
