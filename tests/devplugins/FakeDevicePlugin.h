#pragma once
// A device plug-in for tests: fixed answers, counts Init and Uninit.
#include <array>
#include <optional>
#include <string>

#include "interfaces/IKxDevicePlugin.h"
#include "platform/com/ComObject.h"
#include "platform/com/Utf.h"

class CFakeDevicePlugin : public IKxDevicePlugin {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDevicePlugin>;

  CFakeDevicePlugin(LONG caps, std::string description, std::string manufacturer, HRESULT initResult = S_OK)
      : m_caps(caps), m_description(std::move(description)), m_manufacturer(std::move(manufacturer)),
        m_initResult(initResult) {}
  virtual ~CFakeDevicePlugin() = default;

  HRESULT Init(IKxDPSetup* setup) override {
    ++m_initCalls;
    if (SUCCEEDED(m_initResult)) m_pSetup = setup;
    return m_initResult;
  }
  HRESULT Uninit() override {
    ++m_uninitCalls;
    m_pSetup.Reset();
    return S_OK;
  }
  HRESULT get_Capabilities(LONG* caps) override {
    *caps = m_caps;
    return S_OK;
  }
  HRESULT get_Description(BSTR* text) override { return AllocOutString(Utf8ToUtf16(m_description), text); }
  HRESULT get_Manufacturer(BSTR* text) override { return AllocOutString(Utf8ToUtf16(m_manufacturer), text); }
  HRESULT get_Property(LONG, VARIANT*) override { return E_NOTIMPL; }
  // Succeeds only while the setup object is kept, so a test sees Init took
  // effect; keeps the command code and the integer parameters by id.
  HRESULT ExecuteCommand(LONG, IKxDPCommand* command) override {
    if (!m_pSetup) return E_UNEXPECTED;
    if (!command) return S_OK;
    command->get_Command(&m_command);
    for (LONG id = kFirstParam; id <= KxDPCommandParam_ApplyCA_PmtPid; ++id) {
      // A plain VARIANT: the variant helpers' code would bring GNU unique
      // symbols into the module and keep it loaded. Commands answer integers
      // or nothing, so there is nothing to clear.
      VARIANT value{};
      value.vt = VT_EMPTY;
      const bool integer = SUCCEEDED(command->get_Param(id, &value)) && value.vt == VT_I4;
      m_params[id - kFirstParam] = integer ? std::optional<LONG>(value.lVal) : std::nullopt;
    }
    return S_OK;
  }

  // The integer parameters of the last command, by id from kFirstParam on.
  static constexpr LONG kFirstParam = KxDPCommandParam_TuneRequest20_LnbPosition;
  std::optional<LONG> Param(LONG id) const { return m_params[id - kFirstParam]; }
  LONG m_command = 0;
  std::array<std::optional<LONG>, KxDPCommandParam_ApplyCA_PmtPid - kFirstParam + 1> m_params{};
  int m_initCalls = 0;
  int m_uninitCalls = 0;

 private:
  LONG m_caps;
  std::string m_description;
  std::string m_manufacturer;
  HRESULT m_initResult;
  ComPtr<IKxDPSetup> m_pSetup;
};

inline HRESULT MakeFakePlugin(IKxDevicePlugin** out, LONG caps, const char* description, const char* manufacturer,
                              HRESULT initResult = S_OK) {
  return ComObject<CFakeDevicePlugin>::CreateAndQuery(out, caps, description, manufacturer, initResult);
}
