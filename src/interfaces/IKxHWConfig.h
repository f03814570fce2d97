#pragma once
// The host's hardware configuration: the filters of a device category, their
// names and hardware values.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

enum KxHWValueType : LONG {
  KxHWValueType_DriverDescription = 1,
  KxHWValueType_DriverVersion = 2,
  KxHWValueType_Manufacturer = 3,
  KxHWValueType_FriendlyName = 4,
  KxHWValueType_HardwareID = 5,
};

struct IKxHWInfo : IUnknown {
  DTV_DECLARE_IID("{8FB56645-2CA2-4E30-A3C2-37D2F42BF50D}");
  // The moniker name of the filter the information belongs to.
  virtual HRESULT get_MonikerName(BSTR* name) = 0;
  virtual HRESULT get_ValueString(LONG valueType, BSTR* value) = 0;

 protected:
  ~IKxHWInfo() = default;
};

struct IKxFilterInfo : IUnknown {
  DTV_DECLARE_IID("{131F5246-4A63-43DC-9837-B31058448F7F}");
  virtual HRESULT get_MonikerName(BSTR* name) = 0;
  virtual HRESULT get_FriendlyName(BSTR* name) = 0;

 protected:
  ~IKxFilterInfo() = default;
};

struct IKxHWConfig : IUnknown {
  DTV_DECLARE_IID("{7A09CCF8-ED80-48D3-B19C-33792EB50B66}");
  // Reads the hardware again (adapters plugged in or out since).
  virtual HRESULT Refresh() = 0;
  // Adds the virtual tuners of one more description file.
  virtual HRESULT AddVirtualTuners(BSTR descriptionPath) = 0;
  virtual HRESULT GetFilterCount(BSTR category, LONG* count) = 0;
  virtual HRESULT GetFilterByIndex(BSTR category, LONG index, IKxFilterInfo** filter) = 0;
  virtual HRESULT GetHWInfo(IKxFilterInfo* filter, IKxHWInfo** info) = 0;
  virtual HRESULT GetPhysicalDeviceID(IKxHWInfo* info, BSTR* id) = 0;

 protected:
  ~IKxHWConfig() = default;
};
