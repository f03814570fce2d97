#pragma once
// Snapshot of one EPG event for the host side.
#include "DSFilters/PsiRenderer/engine/EpgEvent.h"
#include "interfaces/IEpgEvents.h"
#include "platform/com/ComObject.h"

class CEpgEventCOM : public CEpgEvent, public IEpgEvent {
 public:
  using InterfaceMap = ::InterfaceMap<IEpgEvent>;
  explicit CEpgEventCOM(const CEpgEvent& event);

  // Copies the event and hands out its IEpgEvent.
  static HRESULT CreateInstance(const CEpgEvent& event, IEpgEvent** ppEpgEvent);

  HRESULT get_EventId(LONG* value) override;
  HRESULT get_TransportStreamId(LONG* value) override;
  HRESULT get_ServiceId(LONG* value) override;
  HRESULT get_NetworkId(LONG* value) override;
  HRESULT get_SourceId(LONG* value) override;
  HRESULT get_EventName(BSTR* value) override;
  HRESULT get_Text(BSTR* value) override;
  HRESULT get_ExtendedItem(BSTR* value) override;
  HRESULT get_ExtendedItemDescription(BSTR* value) override;
  HRESULT get_StartTime(DATE* value) override;
  HRESULT get_EndTime(DATE* value) override;
  ~CEpgEventCOM() override;
};
