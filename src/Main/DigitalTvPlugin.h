#pragma once
// The plug-in object handed to the host by CreateTvPluginInstance.
#include "Main/TvPluginBase.h"

class CDigitalTvPlugin : public CTvPluginBase, public IKxTuningDataResource {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTvPlugin, IKxTuningDataResource>;

  HRESULT get_Name(BSTR* pbstrName) override;
  HRESULT CreateSystemConfiguration(IUnknown** ppSystemConfiguration) override;

  HRESULT GetTuningDataFromResource(BSTR bstrType, BSTR* pbstrXml) override;

  ~CDigitalTvPlugin() override = default;
};
