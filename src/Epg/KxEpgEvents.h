#pragma once
// The host's collection of programme guide events, copied from a PSI
// renderer snapshot.
#include <vector>

#include "interfaces/IEpg.h"
#include "interfaces/IKxEpgEvents.h"
#include "platform/com/ComObject.h"

class CKxEpgEvents : public IKxEpgEvents {
 public:
  using InterfaceMap = ::InterfaceMap<IKxEpgEvents>;

  CKxEpgEvents();
  virtual ~CKxEpgEvents();

  // Replaces the contents by copies of the source's events. The first failure
  // stops the copy; the events copied so far stay.
  HRESULT Add(IEpgEvents* pEpgEvents);

  HRESULT get_Count(LONG* plCount) override;
  HRESULT get_Item(LONG lIndex, IKxEpgEvent** ppItem) override;

 private:
  std::vector<ComPtr<IKxEpgEvent>> m_events;
};
