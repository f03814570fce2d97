#pragma once
// The host's plug-in interfaces: the plug-in object and its frequency lists.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

struct IKxTvPlugin : IUnknown {
  DTV_DECLARE_IID("{9C4DE146-AC81-421E-B53A-F6B3A5EC684E}");
  virtual HRESULT get_Name(BSTR* pbstrName) = 0;
  virtual HRESULT get_PluginVersion(LONG* plVersion) = 0;
  // The host's hardware configuration.
  virtual HRESULT SetHardwareConfig(IUnknown* pHWConfig) = 0;
  virtual HRESULT ReleaseHardwareConfig() = 0;
  virtual HRESULT CreateSystemConfiguration(IUnknown** ppSystemConfiguration) = 0;

 protected:
  ~IKxTvPlugin() = default;
};

struct IKxTuningDataResource : IUnknown {
  DTV_DECLARE_IID("{C944DA11-AD33-42A7-B890-B99BCDB58A63}");
  // The built-in list of a tuning data type ("KxTuningDataType_Dvbs", "_Dvbc",
  // "_Dvbt") as XML text.
  virtual HRESULT GetTuningDataFromResource(BSTR bstrType, BSTR* pbstrXml) = 0;

 protected:
  ~IKxTuningDataResource() = default;
};
