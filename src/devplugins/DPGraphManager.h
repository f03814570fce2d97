#pragma once
// What the device-plug-in objects need from their graph manager. The graph
// manager implements it and outlives the setup object and the plug-in manager.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

class IDPGraphManager {
 public:
  // The filter stored under `role` (new reference); E_FAIL when none is.
  virtual HRESULT GetFilter(LONG role, IUnknown** filter) = 0;
  // State changes of the filter graph alone; the graph manager's own state stays.
  virtual HRESULT StopGraphOnly() = 0;
  virtual HRESULT PauseGraphOnly() = 0;
  virtual HRESULT StartGraphOnly() = 0;
  virtual HRESULT GetVideoDeviceMoniker(BSTR* displayName) = 0;
  virtual HRESULT GetHardwareEnumerator(IUnknown** enumerator) = 0;
  virtual HRESULT GetCaptureDeviceType(LONG* type) = 0;
  virtual HRESULT GetDeviceManufacturer(BSTR* manufacturer) = 0;

 protected:
  ~IDPGraphManager() = default;
};
