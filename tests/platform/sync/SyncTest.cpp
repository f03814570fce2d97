#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/sync/Clock.h"
#include "platform/sync/Event.h"
#include "platform/sync/Thread.h"

namespace {

TEST(Event, AutoResetIsTakenByOneWait) {
  Event e(Event::Reset::Auto, true);
  EXPECT_TRUE(e.Wait(0));
  EXPECT_FALSE(e.Wait(0));
  Event m(Event::Reset::Manual, true);
  EXPECT_TRUE(m.Wait(0));
  EXPECT_TRUE(m.Wait(0));
  m.ResetEvent();
  EXPECT_FALSE(m.IsSet());
}

TEST(Event, TimedWaitsFollowTheManualClock) {
  ScopedManualClock clock;
  Event e;
  std::atomic<uint64_t> started{0}, ended{0};
  std::atomic<int> result{-2};
  std::thread waiter([&] {
    started = clock->NowMs();
    result = e.Wait(3000) ? 1 : 0;
    ended = clock->NowMs();
  });
  // Time moves only when advanced: the wait ends after 3000 ms of clock time.
  EXPECT_TRUE(clock->WaitUntilIdle(1)) << "the waiter waits";
  while (result.load() == -2) {
    clock->Advance(10);
    EXPECT_TRUE(clock->WaitUntilIdle());
  }
  waiter.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_EQ(ended - started, 3000u);
}

TEST(Event, WaitAnyReportsTheSignalledEvent) {
  ScopedManualClock clock;
  Event stop, data(Event::Reset::Auto);
  std::atomic<int> index{-2};
  std::thread waiter([&] { index = Event::WaitAny({&stop, &data}, INFINITE); });
  data.Set();
  waiter.join();
  EXPECT_EQ(index.load(), 1);
  EXPECT_FALSE(data.IsSet());
  std::thread timeout([&] { index = Event::WaitAny({&stop, &data}, 100); });
  EXPECT_TRUE(clock->WaitUntilIdle(1)) << "the waiter waits";
  while (index.load() == 1) {
    clock->Advance(10);
    EXPECT_TRUE(clock->WaitUntilIdle());
  }
  timeout.join();
  EXPECT_EQ(index.load(), -1);
}

// A test that waits until the workers saw each step knows to the step when a
// time-out ends, however the threads are scheduled.
TEST(Clock, IdleWaitsEndTimedWaitsOnTheStepThatReachesThem) {
  struct Case {
    uint32_t timeoutMs;
    uint64_t stepMs;
    uint64_t expectedMs;  // the first multiple of the step not below the time-out
  };
  const Case cases[] = {{3000, 10, 3000}, {3000, 7, 3003}, {1, 1000, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.timeoutMs);
    ScopedManualClock clock;
    Event e;
    const uint64_t start = clock->NowMs();
    std::atomic<uint64_t> ended{0};
    std::thread waiter([&] {
      e.Wait(c.timeoutMs);
      ended = clock->NowMs();
    });
    EXPECT_TRUE(clock->WaitUntilIdle(1)) << "the waiter waits";
    // Bounded: a wait that outlives its time-out fails below instead of hanging.
    while (ended.load() == 0 && clock->NowMs() - start <= c.expectedMs) {
      clock->Advance(c.stepMs);
      EXPECT_TRUE(clock->WaitUntilIdle());
    }
    e.Set();
    waiter.join();
    EXPECT_EQ(ended.load() - start, c.expectedMs);
  }
}

// An event that ends a wait leaves the waiter busy: the idle wait follows it
// until it waits again.
TEST(Clock, IdleMeansWaitingAgainAfterTheWork) {
  ScopedManualClock clock;
  Event work(Event::Reset::Auto), stop;
  std::atomic<int> done{0};
  std::thread worker([&] {
    while (Event::WaitAny({&stop, &work}, INFINITE) == 1) {
      SleepMs(500);  // work that takes clock time
      ++done;
    }
  });
  EXPECT_TRUE(clock->WaitUntilIdle(1));
  for (int i = 1; i <= 3; ++i) {
    work.Set();
    EXPECT_TRUE(clock->WaitUntilIdle(1));
    EXPECT_EQ(done.load(), i - 1) << "the work takes clock time";
    clock->Advance(500);
    EXPECT_TRUE(clock->WaitUntilIdle(1));
    EXPECT_EQ(done.load(), i);
  }
  stop.Set();
  worker.join();
}

// A deadline is kept as it is: a wait that starts after the clock passed it
// ends at once, however late the waiter got there.
TEST(Clock, AWaitForADeadlineEndsWhenTheClockIsPastIt) {
  SystemClock system;
  ScopedManualClock manual;
  std::mutex mutex;
  std::condition_variable cv;
  for (Clock* clock : {static_cast<Clock*>(&system), static_cast<Clock*>(&*manual)}) {
    std::unique_lock lock(mutex);
    const uint64_t deadline = clock->NowMs() - (clock == &system ? 1 : 0);
    if (clock == &*manual) manual->Advance(4000);  // the clock moved on before the wait began
    EXPECT_FALSE(clock->WaitUntil(lock, cv, deadline, [] { return false; }));
    EXPECT_TRUE(clock->WaitUntil(lock, cv, Clock::kNoDeadline, [] { return true; }));
  }
}

TEST(Clock, TickCountWrapsAt32Bits) {
  ScopedManualClock clock(0xFFFFFFFFull - 5);
  const uint32_t before = GetTickCount();
  clock->Advance(10);
  EXPECT_EQ(static_cast<uint32_t>(GetTickCount() - before), 10u);
  EXPECT_LT(GetTickCount(), before);
}

TEST(SuspendedThread, RunsOnlyAfterResume) {
  std::atomic<bool> ran{false};
  SuspendedThread t;
  ASSERT_TRUE(t.Create([&] { ran = true; }));
  t.SetPriority(THREAD_PRIORITY_BELOW_NORMAL);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(ran.load());
  t.Resume();
  t.Join();
  EXPECT_TRUE(ran.load());
}

}  // namespace
