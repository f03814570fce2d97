#pragma once
// The host's plug-in object base: name, version and the held hardware
// configuration.
#include "interfaces/IKxTvPlugin.h"
#include "platform/com/ComObject.h"

class CTvPluginBase : public IKxTvPlugin {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTvPlugin>;

  HRESULT get_Name(BSTR* pbstrName) override;
  HRESULT get_PluginVersion(LONG* plVersion) override;
  HRESULT SetHardwareConfig(IUnknown* pHWConfig) override;
  HRESULT ReleaseHardwareConfig() override;
  HRESULT CreateSystemConfiguration(IUnknown** ppSystemConfiguration) override;

  virtual ~CTvPluginBase() = default;

 protected:
  // The host's hardware configuration; empty until the host sets it.
  ComPtr<IUnknown> m_pHWConfig;
};
