#pragma once
// Where the background EPG hands its event list after each pass. The owner
// decides how the events not delivered before reach the host, so the
// collector needs no host-side objects (not reference-counted).
#include "DSFilters/PsiRenderer/engine/EpgEvents.h"

struct IEpgEventsSink {
  // Passes on the events not delivered before; true when there were any.
  virtual bool DeliverNew(CEpgEvents& events) = 0;

 protected:
  ~IEpgEventsSink() = default;
};
