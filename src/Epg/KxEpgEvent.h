#pragma once
// One programme guide event as the host sees it.
#include "Channel/BStrAssign.h"
#include "interfaces/IKxEpgEvents.h"
#include "platform/com/ComObject.h"
#include "platform/com/Property.h"

class CKxEpgEvent : public IKxEpgEvent {
 public:
  using InterfaceMap = ::InterfaceMap<IKxEpgEvent>;

  CKxEpgEvent() = default;
  virtual ~CKxEpgEvent();

  HRESULT get_EventId(LONG* p) override { return GetProperty(p, m_lEventId); }
  HRESULT put_EventId(LONG v) override { return PutProperty(m_lEventId, v); }
  HRESULT get_TransportStreamId(LONG* p) override { return GetProperty(p, m_lTransportStreamId); }
  HRESULT put_TransportStreamId(LONG v) override { return PutProperty(m_lTransportStreamId, v); }
  HRESULT get_ServiceId(LONG* p) override { return GetProperty(p, m_lServiceId); }
  HRESULT put_ServiceId(LONG v) override { return PutProperty(m_lServiceId, v); }
  HRESULT get_NetworkId(LONG* p) override { return GetProperty(p, m_lNetworkId); }
  HRESULT put_NetworkId(LONG v) override { return PutProperty(m_lNetworkId, v); }
  HRESULT get_SourceId(LONG* p) override { return GetProperty(p, m_lSourceId); }
  HRESULT put_SourceId(LONG v) override { return PutProperty(m_lSourceId, v); }
  HRESULT get_EventName(BSTR* p) override { return m_bstrEventName.CopyTo(p); }
  HRESULT put_EventName(BSTR v) override { return AssignBStr(m_bstrEventName, v); }
  HRESULT get_Text(BSTR* p) override { return m_bstrText.CopyTo(p); }
  HRESULT put_Text(BSTR v) override { return AssignBStr(m_bstrText, v); }
  HRESULT get_ExtendedItem(BSTR* p) override { return m_bstrItem.CopyTo(p); }
  HRESULT put_ExtendedItem(BSTR v) override { return AssignBStr(m_bstrItem, v); }
  HRESULT get_ExtendedItemDescription(BSTR* p) override { return m_bstrItemDescription.CopyTo(p); }
  HRESULT put_ExtendedItemDescription(BSTR v) override { return AssignBStr(m_bstrItemDescription, v); }
  HRESULT get_StartTime(DATE* p) override { return GetProperty(p, m_dtStartTime); }
  HRESULT put_StartTime(DATE v) override { return PutProperty(m_dtStartTime, v); }
  HRESULT get_EndTime(DATE* p) override { return GetProperty(p, m_dtEndTime); }
  HRESULT put_EndTime(DATE v) override { return PutProperty(m_dtEndTime, v); }

 private:
  LONG m_lEventId = 0;
  LONG m_lTransportStreamId = 0;
  LONG m_lServiceId = 0;
  LONG m_lNetworkId = 0;
  LONG m_lSourceId = 0;
  BStr m_bstrEventName{u""};
  BStr m_bstrText{u""};
  BStr m_bstrItem{u""};
  BStr m_bstrItemDescription{u""};
  DATE m_dtStartTime = 0;
  DATE m_dtEndTime = 0;
};
