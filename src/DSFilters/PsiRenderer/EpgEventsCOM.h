#pragma once
// Snapshot of the event list for the host side.
#include <vector>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "interfaces/IEpgEvents.h"
#include "platform/com/ComObject.h"

class CEpgEventsCOM : public IEpgEvents {
 public:
  using InterfaceMap = ::InterfaceMap<IEpgEvents>;
  CEpgEventsCOM();

  // Copies the events in key order. With onlyNew, only the events with a
  // start time that were not delivered, or changed since, are copied and
  // marked delivered; otherwise every event is copied and every mark cleared.
  static HRESULT CreateInstance(CEpgEvents& events, bool onlyNew, IEpgEvents** ppEpgEvents);

  HRESULT get_Count(LONG* count) override;
  HRESULT get_Item(LONG index, IEpgEvent** item) override;
  virtual ~CEpgEventsCOM();

  std::vector<CEpgEvent> m_vec;
};
