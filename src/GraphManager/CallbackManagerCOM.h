#pragma once
// The callback manager as the host reaches it.
#include "GraphManager/CallbackManager.h"

class CCallbackManagerCOM : public CCallbackManager, public IKxCallbackControl {
 public:
  HRESULT RegisterCallback(LONG type, IUnknown* callback, LONG* cookie) override;
  HRESULT UnregisterCallback(LONG cookie) override;
  HRESULT UnregisterCallbackObject(IUnknown* callback) override;
};
