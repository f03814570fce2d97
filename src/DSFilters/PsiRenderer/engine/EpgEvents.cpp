#include "DSFilters/PsiRenderer/engine/EpgEvents.h"

#include <functional>
#include <string>

CEpgEvent& CEpgEvents::GetOrCreateEvent(int32_t eventId, int32_t serviceId, int32_t transportStreamId,
                                        int32_t originalNetworkId) {
  AutoLock lock(m_lock);
  const Key key{originalNetworkId, transportStreamId, serviceId, eventId};
  auto it = m_events.find(key);
  if (it == m_events.end()) {
    if (m_events.size() >= kMaxEvents) {
      ++m_nDropped;
      m_Scratch = CEpgEvent(eventId, serviceId, transportStreamId, originalNetworkId);
      return m_Scratch;
    }
    it = m_events.emplace(key, Entry{CEpgEvent(eventId, serviceId, transportStreamId, originalNetworkId)}).first;
  }
  return it->second.event;
}

size_t CEpgEvents::Count() {
  AutoLock lock(m_lock);
  return m_events.size();
}

size_t CEpgEvents::DroppedCount() {
  AutoLock lock(m_lock);
  return m_nDropped;
}

void CEpgEvents::Clear() {
  AutoLock lock(m_lock);
  m_events.clear();
  m_nDropped = 0;
}

size_t CEpgEvents::Fingerprint(const CEpgEvent& event) {
  const std::hash<std::u16string> text;
  const std::hash<int64_t> time;
  size_t value = 0;
  for (size_t part : {text(event.m_bstrEventName), text(event.m_bstrText), text(event.m_bstrItem),
                      text(event.m_bstrItemDescription), time(event.m_llStartTime), time(event.m_llEndTime)})
    value = value * 1000003u ^ part;
  return value;
}
