#include "Epg/KxEpgEvents.h"

#include <cstdint>

#include "Epg/KxEpgEvent.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "KxEpgEvents";

unsigned Address(const void* object) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(object)); }

// Copies one event, field by field in the order of the source's interface.
HRESULT CopyEvent(IEpgEvent* pEvent, IKxEpgEvent* pKxEpgEvent) {
  DATE dtStartTime = 0;
  DATE dtEndTime = 0;
  LONG lEventId = 0;
  LONG lTransportStreamId = 0;
  LONG lServiceId = 0;
  LONG lNetworkId = 0;
  LONG lSourceId = 0;
  BStr bstrEventName;
  BStr bstrText;
  BStr bstrItem;
  BStr bstrItemDescription;
  RETURN_IF_FAILED(pEvent->get_StartTime(&dtStartTime));
  RETURN_IF_FAILED(pKxEpgEvent->put_StartTime(dtStartTime));
  RETURN_IF_FAILED(pEvent->get_EndTime(&dtEndTime));
  RETURN_IF_FAILED(pKxEpgEvent->put_EndTime(dtEndTime));
  RETURN_IF_FAILED(pEvent->get_EventId(&lEventId));
  RETURN_IF_FAILED(pKxEpgEvent->put_EventId(lEventId));
  RETURN_IF_FAILED(pEvent->get_TransportStreamId(&lTransportStreamId));
  RETURN_IF_FAILED(pKxEpgEvent->put_TransportStreamId(lTransportStreamId));
  RETURN_IF_FAILED(pEvent->get_ServiceId(&lServiceId));
  RETURN_IF_FAILED(pKxEpgEvent->put_ServiceId(lServiceId));
  RETURN_IF_FAILED(pEvent->get_NetworkId(&lNetworkId));
  RETURN_IF_FAILED(pKxEpgEvent->put_NetworkId(lNetworkId));
  RETURN_IF_FAILED(pEvent->get_SourceId(&lSourceId));
  RETURN_IF_FAILED(pKxEpgEvent->put_SourceId(lSourceId));
  RETURN_IF_FAILED(pEvent->get_EventName(bstrEventName.Put()));
  RETURN_IF_FAILED(pKxEpgEvent->put_EventName(bstrEventName.Get()));
  RETURN_IF_FAILED(pEvent->get_Text(bstrText.Put()));
  RETURN_IF_FAILED(pKxEpgEvent->put_Text(bstrText.Get()));
  RETURN_IF_FAILED(pEvent->get_ExtendedItem(bstrItem.Put()));
  RETURN_IF_FAILED(pKxEpgEvent->put_ExtendedItem(bstrItem.Get()));
  RETURN_IF_FAILED(pEvent->get_ExtendedItemDescription(bstrItemDescription.Put()));
  RETURN_IF_FAILED(pKxEpgEvent->put_ExtendedItemDescription(bstrItemDescription.Get()));
  return S_OK;
}
}  // namespace

CKxEpgEvents::CKxEpgEvents() { log(7, "CKxEpgEvents: Ctor(0x%08x)", Address(this)); }

CKxEpgEvents::~CKxEpgEvents() { log(7, "CKxEpgEvents: Dtor(0x%08x)", Address(this)); }

HRESULT CKxEpgEvents::Add(IEpgEvents* pEpgEvents) {
  if (!pEpgEvents) return E_POINTER;
  LONG lCount = 0;
  RETURN_IF_FAILED(pEpgEvents->get_Count(&lCount));
  m_events.clear();
  for (LONG l = 0; l < lCount; ++l) {
    ComPtr<IKxEpgEvent> pKxEpgEvent;
    ComPtr<IEpgEvent> pEvent;
    RETURN_IF_FAILED(ComObject<CKxEpgEvent>::CreateAndQuery(pKxEpgEvent.Put()));
    RETURN_IF_FAILED(pEpgEvents->get_Item(l, pEvent.Put()));
    RETURN_IF_FAILED(CopyEvent(pEvent.Get(), pKxEpgEvent.Get()));
    m_events.push_back(std::move(pKxEpgEvent));
  }
  return S_OK;
}

HRESULT CKxEpgEvents::get_Count(LONG* plCount) {
  if (!plCount) return E_POINTER;
  *plCount = static_cast<LONG>(m_events.size());
  return S_OK;
}

HRESULT CKxEpgEvents::get_Item(LONG lIndex, IKxEpgEvent** ppItem) {
  if (!ppItem) return E_POINTER;
  *ppItem = nullptr;
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_events.size()) return E_INVALIDARG;
  return m_events[lIndex].CopyTo(ppItem);
}
