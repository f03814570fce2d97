#pragma once
// The graph manager as the device-plug-in objects see it.
#include <map>
#include <string>

#include "devplugins/DPGraphManager.h"
#include "platform/com/ComObject.h"
#include "platform/com/Utf.h"

struct ITestFilter : IUnknown {
  DTV_DECLARE_IID("{73B9750D-2AE7-4C1C-AA37-E45E7F3A48C6}");

 protected:
  ~ITestFilter() = default;
};

class CTestFilter : public ITestFilter {
 public:
  using InterfaceMap = ::InterfaceMap<ITestFilter>;
  virtual ~CTestFilter() = default;
};

class FakeGraphManager : public IDPGraphManager {
 public:
  HRESULT GetFilter(LONG role, IUnknown** filter) override {
    const auto it = m_filters.find(role);
    if (it == m_filters.end()) return E_FAIL;
    return it->second.CopyTo(filter);
  }
  HRESULT StopGraphOnly() override { return Record("stop"); }
  HRESULT PauseGraphOnly() override { return Record("pause"); }
  HRESULT StartGraphOnly() override { return Record("run"); }
  HRESULT GetVideoDeviceMoniker(BSTR* displayName) override { return AllocOutString(u"@device:dvb0", displayName); }
  HRESULT GetHardwareEnumerator(IUnknown** enumerator) override { return m_enumerator.CopyTo(enumerator); }
  HRESULT GetCaptureDeviceType(LONG* type) override {
    *type = m_deviceType;
    return S_OK;
  }
  HRESULT GetDeviceManufacturer(BSTR* manufacturer) override {
    if (FAILED(m_manufacturerResult)) return m_manufacturerResult;
    return AllocOutString(Utf8ToUtf16(m_manufacturer), manufacturer);
  }

  ComPtr<IUnknown> AddFilter(LONG role) {
    ComPtr<IUnknown> filter = ComObject<CTestFilter>::Make();
    m_filters[role] = filter;
    return filter;
  }

  std::map<LONG, ComPtr<IUnknown>> m_filters;
  ComPtr<IUnknown> m_enumerator = ComObject<CTestFilter>::Make();
  std::string m_calls;
  HRESULT m_graphResult = S_OK;
  LONG m_deviceType = 6;
  std::string m_manufacturer = "Acme Digital Tuner";
  HRESULT m_manufacturerResult = S_OK;

 private:
  HRESULT Record(const char* call) {
    m_calls += call;
    m_calls += ' ';
    return m_graphResult;
  }
};
