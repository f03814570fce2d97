#pragma once
// The receivers installed: the network-tuner filters of the host's hardware
// configuration whose delivery system is known, each as a capture device.
#include <vector>

#include "Devices/KxCaptureDevice.h"
#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/IKxHWConfig.h"
#include "platform/com/ComObject.h"
#include "platform/sync/RecursiveLock.h"

class BdaTempStore;
class DeviceSignatures;

class CKxSystemConfiguration : public IKxSystemConfiguration {
 public:
  using InterfaceMap = ::InterfaceMap<IKxSystemConfiguration>;
  virtual ~CKxSystemConfiguration() = default;

  // Takes the host's hardware configuration; E_POINTER for null.
  HRESULT Attach(IKxHWConfig* pHWConfig);

  HRESULT get_DeviceCount(LONG* count) override;
  HRESULT GetDevice(LONG index, IKxCaptureDevice** device) override;
  HRESULT GetDeviceByMonikerName(BSTR name, IKxCaptureDevice** device) override;
  HRESULT get_Flags(LONG* value) override;
  HRESULT Reserved1() override { return E_NOTIMPL; }
  HRESULT Reserved2() override { return E_NOTIMPL; }

 private:
  HRESULT Enumerate(LONG& count);
  // Appends the device of filter `index` (the earlier object when its moniker
  // is known); any failure leaves only this device out.
  void AddDevice(LONG index, const std::vector<ComPtr<IKxCaptureDevice>>& previous, BdaTempStore& store,
                 DeviceSignatures& signatures);

  RecursiveLock m_lock;
  BStr m_bstrCategory;
  ComPtr<IKxHWConfig> m_pHWConfig;
  std::vector<ComPtr<IKxCaptureDevice>> m_vDevList;
};

// Creates a system configuration over the host's hardware configuration.
HRESULT CreateSystemConfigurationObject(IKxHWConfig* pHWConfig, IUnknown** configuration);
