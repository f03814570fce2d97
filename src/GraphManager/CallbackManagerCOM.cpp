#include "GraphManager/CallbackManagerCOM.h"

HRESULT CCallbackManagerCOM::RegisterCallback(LONG type, IUnknown* callback, LONG* cookie) {
  return Register(type, callback, cookie);
}

HRESULT CCallbackManagerCOM::UnregisterCallback(LONG cookie) {
  Unregister(cookie);
  return S_OK;
}

HRESULT CCallbackManagerCOM::UnregisterCallbackObject(IUnknown* callback) {
  UnregisterObject(callback);
  return S_OK;
}
