#pragma once
// The one clock every time-out, tick count and timed wait goes through.
// Production uses the monotonic system clock; tests install a ManualClock and
// advance it instead of sleeping.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

constexpr uint32_t INFINITE = 0xFFFFFFFF;

class Clock {
 public:
  virtual ~Clock() = default;
  static constexpr uint64_t kNoDeadline = UINT64_MAX;

  // Milliseconds on a monotonic scale.
  virtual uint64_t NowMs() const = 0;
  // Waits on `cv` (with `lock` held) until `ready()` or this clock reaches
  // `deadlineMs` (kNoDeadline: no time-out). Returns ready(). A caller with a
  // deadline passes it as it is: turned into a time-out, it would move on by
  // however long the caller took to get here.
  virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t deadlineMs,
                         const std::function<bool()>& ready) = 0;
  // The same for `timeoutMs` of this clock's time from now (INFINITE: no time-out).
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
               const std::function<bool()>& ready) {
    return WaitUntil(lock, cv, timeoutMs == INFINITE ? kNoDeadline : NowMs() + timeoutMs, ready);
  }
  // Told of each suspended thread before it runs, so that a test's clock
  // knows the workers that will wait on it.
  virtual void ThreadCreated(std::thread::id) {}
};

class SystemClock final : public Clock {
 public:
  uint64_t NowMs() const override;
  bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t deadlineMs,
                 const std::function<bool()>& ready) override;
};

// Time moves only when a test calls Advance. Waiters re-check their deadline
// at a short real-time interval, so a wait never needs a notification from
// the clock and no wake-up can be lost. The clock knows the threads that wait
// on it, so a test can wait until every worker has seen the time it set.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint64_t startMs = 1000);
  ~ManualClock() override;
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  uint64_t NowMs() const override { return m_now.load(); }
  bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t deadlineMs,
                 const std::function<bool()>& ready) override;
  void ThreadCreated(std::thread::id thread) override;
  void Advance(uint64_t ms);
  // Returns once at least `waiters` other threads wait on this clock and every
  // other thread that ever waited on it, or was created while it was the
  // current clock, has checked its condition and
  // deadline again since this call began and still waits, or has ended: what
  // the test did before (an event set, the clock advanced) has been seen.
  // False after ten seconds of real time (a thread blocked elsewhere).
  bool WaitUntilIdle(size_t waiters = 0);

  // Forgets a thread that ended.
  void Forget(std::thread::id thread);

 private:
  struct Waiter {
    bool waiting = false;
    uint64_t seen = 0;  // the generation it last checked in
  };
  void MarkWaiting(uint64_t generation);
  void MarkBusy();

  std::atomic<uint64_t> m_now;
  std::atomic<uint64_t> m_generation{0};  // moves when waiters must check again
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::map<std::thread::id, Waiter> m_waiters;
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

// Called first on a thread whose end the manual clocks must learn even when
// it never waits on them.
void NoticeThreadEnd();

// Milliseconds since start as a 32-bit count that wraps like the platform's.
uint32_t GetTickCount();
// Sleeps `ms` of the current clock's time.
void SleepMs(uint32_t ms);
