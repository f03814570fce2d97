#pragma once
// A digital TV receiver handed to the host: its names, type and hardware
// values, its usage, and the graph manager and tuner created for it.
#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/IKxGraphManager.h"
#include "interfaces/IKxHWConfig.h"
#include "platform/com/ComObject.h"

class CKxCaptureDevice : public IKxCaptureDevice2, public IKxDeviceExtraInfo {
 public:
  using InterfaceMap = ::InterfaceMap<InterfaceVia<IKxCaptureDevice, IKxCaptureDevice2>, IKxCaptureDevice2,
                                      IKxDeviceExtraInfo>;
  virtual ~CKxCaptureDevice() = default;

  HRESULT Initialize(IKxFilterInfo* pFilterInfo, IKxHWInfo* pHWInfo, LONG deviceType, BSTR physicalDeviceId,
                     IKxHWConfig* pHWConfig);

  // IKxCaptureDevice2
  HRESULT get_MonikerName(BSTR* name) override;
  HRESULT get_FriendlyName(BSTR* name) override;
  HRESULT get_Manufacturer(BSTR* name) override;
  HRESULT get_DeviceType(LONG* type) override;
  HRESULT GetUsage(VARIANT_BOOL* inUse, LONG* lockLevel, VARIANT_BOOL* lockedHere) override;
  HRESULT get_Property(LONG id, VARIANT* value) override;
  HRESULT CreateGraphManager(IUnknown** graphManager) override;
  // A graph manager whose observer thread runs unless it is for a tuner.
  HRESULT CreateGraphManager(IUnknown** graphManager, bool forTuner);
  HRESULT CreateTuner(IUnknown** tuner) override;
  HRESULT Reserved() override { return E_NOTIMPL; }

  // IKxDeviceExtraInfo
  HRESULT GetExtraInfo(LONG id, VARIANT* value) override;

  const BStr& MonikerName() const { return m_bstrMonikerName; }

 private:
  // A graph manager of `Manager`, initialised for this device.
  template <class Manager>
  HRESULT CreateInitialised(const char* createText, bool forTuner, ComPtr<IKxGraphManager>* held);
  BStr m_bstrMonikerName;
  BStr m_bstrFriendlyName;
  BStr m_bstrManufacturer;
  LONG m_deviceType = 0;
  LONG m_property4 = 2;
  LONG m_property5 = 323;
  BStr m_bstrPhysicalDeviceID;
  BStr m_bstrHardwareID;
  bool m_isSpecialUsbDevice = false;
  ComPtr<IKxHWConfig> m_pHWEnum;
};

// The special-device rule: a DVB-T device with that USB hardware id made by E3C.
bool IsSpecialUsbDevice(LONG deviceType, std::u16string_view hardwareId, std::u16string_view manufacturer);
