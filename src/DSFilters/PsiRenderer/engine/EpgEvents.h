#pragma once
// The event list, ordered by (original network id, transport stream id,
// service id, event id). Writers and snapshot copies share the list's lock,
// so a snapshot never sees a half-written event.
//
// The list holds at most kMaxEvents events, so a stream with an endless
// supply of event ids cannot take all memory; further events are counted in
// DroppedCount() and not stored.
#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>

#include "DSFilters/PsiRenderer/engine/EpgEvent.h"
#include "platform/sync/RecursiveLock.h"

class CEpgEvents {
 public:
  using Key = std::tuple<int32_t, int32_t, int32_t, int32_t>;
  struct Entry {
    CEpgEvent event;
    int32_t delivered = 0;
    size_t deliveredFingerprint = 0;  // Fingerprint(event) when it was last delivered
  };
  // A week of guide for 100 services with a programme every 10 minutes
  // (about 200 MB); far more than any real multiplex carries.
  static constexpr size_t kMaxEvents = 100000;

  virtual ~CEpgEvents() = default;

  // The event of that key, inserted with its ids when absent. When the list
  // is full, a new event is counted as dropped and the reference is to a
  // scratch event that is not part of the list. Call with Lock() held.
  CEpgEvent& GetOrCreateEvent(int32_t eventId, int32_t serviceId, int32_t transportStreamId,
                              int32_t originalNetworkId);
  size_t Count();
  size_t DroppedCount();
  void Clear();

  // What a receiver of the event shows: title, times and texts.
  static size_t Fingerprint(const CEpgEvent& event);

  RecursiveLock& Lock() { return m_lock; }
  // Entries in key order; call with Lock() held.
  std::map<Key, Entry>& Entries() { return m_events; }

 private:
  RecursiveLock m_lock;
  std::map<Key, Entry> m_events;
  size_t m_nDropped = 0;
  CEpgEvent m_Scratch;
};
