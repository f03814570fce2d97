#pragma once
// The event list, ordered by (original network id, transport stream id,
// service id, event id). Writers and snapshot copies share the list's lock,
// so a snapshot never sees a half-written event.
#include <cstdint>
#include <map>
#include <tuple>

#include "DSFilters/PsiRenderer/EpgEvent.h"
#include "platform/sync/RecursiveLock.h"

class CEpgEvents {
 public:
  using Key = std::tuple<int32_t, int32_t, int32_t, int32_t>;
  struct Entry {
    CEpgEvent event;
    int32_t delivered = 0;
  };

  virtual ~CEpgEvents() = default;

  // The event of that key, inserted with its ids when absent. Call with Lock() held.
  CEpgEvent& GetOrCreateEvent(int32_t eventId, int32_t serviceId, int32_t transportStreamId,
                              int32_t originalNetworkId);
  size_t Count();
  void Clear();

  RecursiveLock& Lock() { return m_lock; }
  // Entries in key order; call with Lock() held.
  std::map<Key, Entry>& Entries() { return m_events; }

 private:
  RecursiveLock m_lock;
  std::map<Key, Entry> m_events;
};
