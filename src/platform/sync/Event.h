#pragma once
// Manual- and auto-reset events with timed waits on the current clock.
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "platform/sync/Clock.h"

class Event {
 public:
  enum class Reset { Manual, Auto };
  explicit Event(Reset reset = Reset::Manual, bool signalled = false)
      : m_autoReset(reset == Reset::Auto), m_signalled(signalled) {}
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void ResetEvent();
  bool IsSet() const;
  // True when signalled within `timeoutMs` (INFINITE waits for ever). An
  // auto-reset event is reset by the wait that sees it.
  bool Wait(uint32_t timeoutMs = INFINITE);

  // Index of the first signalled event, or -1 on time-out.
  static int WaitAny(std::initializer_list<Event*> events, uint32_t timeoutMs);

 private:
  struct Waiter;
  bool TryTake();  // with m_mutex held

  const bool m_autoReset;
  bool m_signalled;
  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<Waiter*> m_waiters;
};
