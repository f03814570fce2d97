#include "platform/sync/Clock.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace {
SystemClock g_systemClock;
std::atomic<Clock*> g_clock{&g_systemClock};
}  // namespace

uint64_t SystemClock::NowMs() const {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

bool SystemClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t deadlineMs,
                            const std::function<bool()>& ready) {
  // Beyond a century from now is no deadline (and would overflow the time point).
  constexpr uint64_t kCenturyMs = 100ull * 365 * 24 * 3600 * 1000;
  if (deadlineMs == kNoDeadline || deadlineMs - std::min(deadlineMs, NowMs()) > kCenturyMs) {
    cv.wait(lock, ready);
    return true;
  }
  const std::chrono::steady_clock::time_point deadline{std::chrono::milliseconds(deadlineMs)};
  return cv.wait_until(lock, deadline, ready);
}

namespace {
// The manual clocks alive, told when a thread that waited on them ends.
// Never destroyed: threads may end during static destruction.
struct ManualClocks {
  std::mutex mutex;
  std::set<ManualClock*> clocks;
};
ManualClocks& LiveManualClocks() {
  static auto* clocks = new ManualClocks;
  return *clocks;
}
// Set by the first manual clock: a thread of a process that never had one
// allocates nothing when it ends (in a plug-in, that would outlive the module).
std::atomic<bool> g_manualClockMade{false};

struct ThreadEndNotice {
  ~ThreadEndNotice() {
    if (!g_manualClockMade.load()) return;
    ManualClocks& live = LiveManualClocks();
    std::lock_guard lock(live.mutex);
    for (ManualClock* clock : live.clocks) clock->Forget(std::this_thread::get_id());
  }
};
}  // namespace

void NoticeThreadEnd() { thread_local ThreadEndNotice notice; }

ManualClock::ManualClock(uint64_t startMs) : m_now(startMs) {
  g_manualClockMade = true;
  ManualClocks& live = LiveManualClocks();
  std::lock_guard lock(live.mutex);
  live.clocks.insert(this);
}

ManualClock::~ManualClock() {
  ManualClocks& live = LiveManualClocks();
  std::lock_guard lock(live.mutex);
  live.clocks.erase(this);
}

bool ManualClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t deadlineMs,
                            const std::function<bool()>& ready) {
  NoticeThreadEnd();
  bool result = true;
  for (;;) {
    // Read before the checks: a waiter that saw this generation saw
    // everything done before it was set.
    const uint64_t generation = m_generation.load();
    if (ready()) break;
    if (NowMs() >= deadlineMs) {
      result = false;
      break;
    }
    // The clock's own lock is never taken under the caller's: a
    // notification missed meanwhile costs one polling interval.
    lock.unlock();
    MarkWaiting(generation);
    lock.lock();
    cv.wait_for(lock, std::chrono::milliseconds(1));
  }
  lock.unlock();
  MarkBusy();
  lock.lock();
  return result;
}

void ManualClock::ThreadCreated(std::thread::id thread) {
  std::lock_guard lock(m_mutex);
  m_waiters.try_emplace(thread);
}

void ManualClock::Advance(uint64_t ms) {
  m_now.fetch_add(ms);
  m_generation.fetch_add(1);
}

bool ManualClock::WaitUntilIdle(size_t waiters) {
  const std::thread::id self = std::this_thread::get_id();
  const uint64_t generation = m_generation.fetch_add(1) + 1;
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
    size_t waiting = 0;
    for (const auto& [thread, waiter] : m_waiters) {
      if (thread == self) continue;
      if (!waiter.waiting || waiter.seen < generation) return false;
      ++waiting;
    }
    return waiting >= waiters;
  });
}

void ManualClock::Forget(std::thread::id thread) {
  std::lock_guard lock(m_mutex);
  if (m_waiters.erase(thread) != 0) m_changed.notify_all();
}

void ManualClock::MarkWaiting(uint64_t generation) {
  std::lock_guard lock(m_mutex);
  Waiter& waiter = m_waiters[std::this_thread::get_id()];
  if (waiter.waiting && waiter.seen == generation) return;
  waiter.waiting = true;
  waiter.seen = generation;
  m_changed.notify_all();
}

void ManualClock::MarkBusy() {
  std::lock_guard lock(m_mutex);
  m_waiters[std::this_thread::get_id()].waiting = false;
}

Clock& CurrentClock() { return *g_clock.load(); }

void SetCurrentClock(Clock* clock) { g_clock.store(clock ? clock : &g_systemClock); }

uint32_t GetTickCount() { return static_cast<uint32_t>(CurrentClock().NowMs()); }

void SleepMs(uint32_t ms) {
  std::mutex mutex;
  std::condition_variable cv;
  std::unique_lock lock(mutex);
  CurrentClock().WaitFor(lock, cv, ms, [] { return false; });
}
