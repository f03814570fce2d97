#include "DSFilters/PsiRenderer/EpgEvents.h"

CEpgEvent& CEpgEvents::GetOrCreateEvent(int32_t eventId, int32_t serviceId, int32_t transportStreamId,
                                        int32_t originalNetworkId) {
  AutoLock lock(m_lock);
  const Key key{originalNetworkId, transportStreamId, serviceId, eventId};
  auto it = m_events.find(key);
  if (it == m_events.end())
    it = m_events.emplace(key, Entry{CEpgEvent(eventId, serviceId, transportStreamId, originalNetworkId), 0}).first;
  return it->second.event;
}

size_t CEpgEvents::Count() {
  AutoLock lock(m_lock);
  return m_events.size();
}

void CEpgEvents::Clear() {
  AutoLock lock(m_lock);
  m_events.clear();
}
