#include "platform/sync/Clock.h"

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

bool SystemClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
                          const std::function<bool()>& ready) {
  if (timeoutMs == INFINITE) {
    cv.wait(lock, ready);
    return true;
  }
  return cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

bool ManualClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
                          const std::function<bool()>& ready) {
  const uint64_t deadline = NowMs() + timeoutMs;
  while (!ready()) {
    if (timeoutMs != INFINITE && NowMs() >= deadline) return false;
    cv.wait_for(lock, std::chrono::milliseconds(1));
  }
  return true;
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
