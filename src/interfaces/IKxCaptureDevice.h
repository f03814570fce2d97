#pragma once
// A digital TV receiver as the host sees it, and the configuration listing them.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

enum KxCaptureDeviceType : LONG {
  KxCaptureDeviceType_Unknown = 0,
  KxCaptureDeviceType_Atsc = 5,
  KxCaptureDeviceType_Dvbt = 6,
  KxCaptureDeviceType_Dvbs = 7,
  KxCaptureDeviceType_Dvbc = 8,
};

enum KxDeviceExtraInfoType : LONG {
  KxDeviceExtraInfo_PhysicalDeviceID = 6,
  KxDeviceExtraInfo_SpecialUsbDevice = 8,
  KxDeviceExtraInfo_HardwareID = 13,
};

struct IKxCaptureDevice : IUnknown {
  DTV_DECLARE_IID("{5DD7D697-655B-4FE3-9A9E-93CD4F892E68}");
  virtual HRESULT get_MonikerName(BSTR* name) = 0;
  virtual HRESULT get_FriendlyName(BSTR* name) = 0;
  virtual HRESULT get_Manufacturer(BSTR* name) = 0;
  virtual HRESULT get_DeviceType(LONG* type) = 0;
  virtual HRESULT GetUsage(VARIANT_BOOL* inUse, LONG* lockLevel, VARIANT_BOOL* lockedHere) = 0;
  virtual HRESULT get_Property(LONG id, VARIANT* value) = 0;
  virtual HRESULT CreateGraphManager(IUnknown** graphManager) = 0;
  virtual HRESULT CreateTuner(IUnknown** tuner) = 0;

 protected:
  ~IKxCaptureDevice() = default;
};

struct IKxCaptureDevice2 : IKxCaptureDevice {
  DTV_DECLARE_IID("{E559260A-6F1D-4AD6-AF3F-845258F15532}");
  // Reserved by the host; answers E_NOTIMPL.
  virtual HRESULT Reserved() = 0;

 protected:
  ~IKxCaptureDevice2() = default;
};

struct IKxDeviceExtraInfo : IUnknown {
  DTV_DECLARE_IID("{C2D4BE82-27F5-4785-8E91-D3BC1E56D952}");
  virtual HRESULT GetExtraInfo(LONG id, VARIANT* value) = 0;

 protected:
  ~IKxDeviceExtraInfo() = default;
};

struct IKxSystemConfiguration : IUnknown {
  DTV_DECLARE_IID("{154FC95F-566A-4F54-838E-102A72A3CE41}");
  virtual HRESULT get_DeviceCount(LONG* count) = 0;
  virtual HRESULT GetDevice(LONG index, IKxCaptureDevice** device) = 0;
  virtual HRESULT GetDeviceByMonikerName(BSTR name, IKxCaptureDevice** device) = 0;
  virtual HRESULT get_Flags(LONG* value) = 0;
  // Reserved by the host; answer E_NOTIMPL.
  virtual HRESULT Reserved1() = 0;
  virtual HRESULT Reserved2() = 0;

 protected:
  ~IKxSystemConfiguration() = default;
};
