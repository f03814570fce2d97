#include "platform/sync/Event.h"

#include <algorithm>

// A WaitAny caller registered on several events: Set wakes it through here.
struct Event::Waiter {
  std::mutex mutex;
  std::condition_variable cv;
  bool woken = false;
};

void Event::Set() {
  {
    std::lock_guard lock(m_mutex);
    m_signalled = true;
    // Under m_mutex: a WaitAny caller leaves m_waiters (and its Waiter goes)
    // only with m_mutex held, so every Waiter listed is still alive here.
    for (Waiter* w : m_waiters) {
      std::lock_guard waiterLock(w->mutex);
      w->woken = true;
      w->cv.notify_all();
    }
  }
  m_cv.notify_all();
}

void Event::ResetEvent() {
  std::lock_guard lock(m_mutex);
  m_signalled = false;
}

bool Event::IsSet() const {
  std::lock_guard lock(m_mutex);
  return m_signalled;
}

bool Event::TryTake() {
  if (!m_signalled) return false;
  if (m_autoReset) m_signalled = false;
  return true;
}

bool Event::Wait(uint32_t timeoutMs) {
  std::unique_lock lock(m_mutex);
  if (TryTake()) return true;
  bool taken = false;
  CurrentClock().WaitFor(lock, m_cv, timeoutMs, [&] { return taken = TryTake(); });
  return taken;
}

int Event::WaitAny(std::initializer_list<Event*> events, uint32_t timeoutMs) {
  Waiter waiter;
  auto takeFirst = [&]() -> int {
    int index = 0;
    for (Event* e : events) {
      std::lock_guard lock(e->m_mutex);
      if (e->TryTake()) return index;
      ++index;
    }
    return -1;
  };
  for (Event* e : events) {
    std::lock_guard lock(e->m_mutex);
    e->m_waiters.push_back(&waiter);
  }
  Clock& clock = CurrentClock();
  const uint64_t deadline = timeoutMs == INFINITE ? Clock::kNoDeadline : clock.NowMs() + timeoutMs;
  int result = -1;
  {
    std::unique_lock lock(waiter.mutex);
    for (;;) {
      waiter.woken = false;
      lock.unlock();
      result = takeFirst();
      lock.lock();
      if (result >= 0 || waiter.woken) {
        if (result >= 0) break;
        continue;  // set while we looked: look again
      }
      if (clock.NowMs() >= deadline) break;
      clock.WaitUntil(lock, waiter.cv, deadline, [&] { return waiter.woken; });
    }
  }
  for (Event* e : events) {
    std::lock_guard lock(e->m_mutex);
    e->m_waiters.erase(std::remove(e->m_waiters.begin(), e->m_waiters.end(), &waiter), e->m_waiters.end());
  }
  return result;
}
