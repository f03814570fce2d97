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
  while (result.load() == -2) {
    clock->Advance(10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  waiter.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_GE(ended - started, 3000u);
  EXPECT_LE(ended - started, 3500u) << "the waiter may start its wait a few steps late";
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
  while (index.load() == 1) {
    clock->Advance(10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  timeout.join();
  EXPECT_EQ(index.load(), -1);
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
