#pragma once
// A vendor device plug-in that keeps the integer parameters of the last
// command of each code, for a test to read through ICommandRecord.
#include <map>

#include "devplugins/FakeDevicePlugin.h"

struct ICommandRecord : IUnknown {
  DTV_DECLARE_IID("{5E0C7D8A-3B1F-4C62-9A4E-2D7B8F1C6E03}");
  // How often a command of `code` came.
  virtual LONG Executions(LONG code) = 0;
  // The parameter `id` of the last command of `code`; false when it had none.
  virtual bool Param(LONG code, LONG id, LONG* value) = 0;

 protected:
  ~ICommandRecord() = default;
};

class CRecordingDevicePlugin : public CFakeDevicePlugin, public ICommandRecord {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDevicePlugin, ICommandRecord>;
  using CFakeDevicePlugin::CFakeDevicePlugin;
  virtual ~CRecordingDevicePlugin() = default;

  HRESULT ExecuteCommand(LONG event, IKxDPCommand* command) override {
    const HRESULT hr = CFakeDevicePlugin::ExecuteCommand(event, command);
    if (SUCCEEDED(hr) && command) {
      ++m_executions[m_command];
      m_last[m_command] = m_params;
    }
    return hr;
  }
  LONG Executions(LONG code) override { return m_executions[code]; }
  bool Param(LONG code, LONG id, LONG* value) override {
    const auto& param = m_last[code][id - kFirstParam];
    if (param) *value = *param;
    return param.has_value();
  }

 private:
  std::map<LONG, LONG> m_executions;
  std::map<LONG, decltype(m_params)> m_last;
};
