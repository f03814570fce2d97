#pragma once
// Receives the background EPG's batches of new events (not reference-counted).
#include "interfaces/IEpgEvents.h"

struct IEpgCallback {
  virtual HRESULT OnEpgEvents(IEpgEvents* events) = 0;

 protected:
  ~IEpgCallback() = default;
};
