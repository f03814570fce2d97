#pragma once
// The one clock every time-out, tick count and timed wait goes through.
// Production uses the monotonic system clock; tests install a ManualClock and
// advance it instead of sleeping.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

constexpr uint32_t INFINITE = 0xFFFFFFFF;

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic scale.
  virtual uint64_t NowMs() const = 0;
  // Waits on `cv` (with `lock` held) until `ready()` or `timeoutMs` of this
  // clock's time have passed. Returns ready().
  virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
                       const std::function<bool()>& ready) = 0;
};

class SystemClock final : public Clock {
 public:
  uint64_t NowMs() const override;
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
               const std::function<bool()>& ready) override;
};

// Time moves only when a test calls Advance. Waiters re-check their deadline
// at a short real-time interval, so a wait never needs a notification from
// the clock and no wake-up can be lost.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint64_t startMs = 1000) : m_now(startMs) {}
  uint64_t NowMs() const override { return m_now.load(); }
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
               const std::function<bool()>& ready) override;
  void Advance(uint64_t ms) { m_now.fetch_add(ms); }

 private:
  std::atomic<uint64_t> m_now;
};

// The clock in use (the system clock unless a test installed another).
Clock& CurrentClock();
// Installs `clock` (nullptr restores the system clock). Tests only; the clock
// must outlive every thread that uses it.
void SetCurrentClock(Clock* clock);

// Installs a ManualClock for the life of a test scope.
class ScopedManualClock {
 public:
  explicit ScopedManualClock(uint64_t startMs = 1000) : m_clock(startMs) { SetCurrentClock(&m_clock); }
  ~ScopedManualClock() { SetCurrentClock(nullptr); }
  ManualClock& operator*() { return m_clock; }
  ManualClock* operator->() { return &m_clock; }

 private:
  ManualClock m_clock;
};

// Milliseconds since start as a 32-bit count that wraps like the platform's.
uint32_t GetTickCount();
// Sleeps `ms` of the current clock's time.
void SleepMs(uint32_t ms);
