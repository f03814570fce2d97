#include "platform/sync/MessageThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

namespace {

struct Received {
  std::mutex mutex;
  std::vector<uint32_t> ids;
  Event got{Event::Reset::Auto};
  void Add(uint32_t id) {
    {
      std::lock_guard lock(mutex);
      ids.push_back(id);
    }
    got.Set();
  }
  std::vector<uint32_t> Ids() {
    std::lock_guard lock(mutex);
    return ids;
  }
};

TEST(MessageThread, LoopHandsMessagesInOrderUntilQuit) {
  Received received;
  MessageThread thread;
  ASSERT_TRUE(thread.StartLoop([&](const ThreadMessage& m) { received.Add(m.id); }));
  for (uint32_t id : {WM_USER + 1, WM_USER + 2, WM_USER + 3}) thread.Post(id);
  ASSERT_TRUE(thread.Stop(INFINITE));
  EXPECT_EQ(received.Ids(), (std::vector<uint32_t>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
  EXPECT_FALSE(thread.IsRunning());
  thread.Post(WM_USER + 4);  // nobody listens: nothing happens
  EXPECT_EQ(received.Ids().size(), 3u);
}

TEST(MessageThread, BodySetsUpBeforeItsLoop) {
  Received received;
  MessageThread thread;
  ASSERT_TRUE(thread.Start([&](MessageQueue& queue) {
    received.Add(0);
    queue.Run([&](const ThreadMessage& m) { received.Add(static_cast<uint32_t>(m.wParam)); });
    received.Add(99);
  }));
  EXPECT_FALSE(thread.Start([](MessageQueue&) {}));  // one thread at a time
  thread.Post(WM_USER, 7);
  ASSERT_TRUE(thread.Stop(INFINITE));
  EXPECT_EQ(received.Ids(), (std::vector<uint32_t>{0, 7, 99}));
}

TEST(MessageThread, LateThreadIsLetGoAndKeepsWhatItTouches) {
  ScopedManualClock clock;
  auto release = std::make_shared<Event>();
  auto done = std::make_shared<Event>();
  auto touched = std::make_shared<std::vector<int>>();
  {
    MessageThread thread;
    ASSERT_TRUE(thread.StartLoop([release, done, touched](const ThreadMessage&) {
      release->Wait(INFINITE);
      touched->push_back(1);
      done->Set();
    }));
    thread.Post(WM_USER);
    Event stopped;
    std::thread stopper([&] {
      EXPECT_FALSE(thread.Stop(3000));
      stopped.Set();
    });
    // The stop waits on the clock; advancing it past 3 s lets the thread go.
    while (!stopped.Wait(0)) clock->Advance(10);
    stopper.join();
  }
  // The thread object is gone; the thread still runs and may touch its state.
  release->Set();
  ASSERT_TRUE(done->Wait(INFINITE));
  EXPECT_EQ(*touched, std::vector<int>{1});
}

TEST(SuspendedThread, JoinOnItsOwnThreadDoesNotWaitNorAbort) {
  auto thread = std::make_shared<SuspendedThread>();
  Event checked;
  bool joinedItself = true;
  std::weak_ptr<SuspendedThread> weak = thread;
  ASSERT_TRUE(thread->Create([&, weak] {
    joinedItself = weak.lock()->Join();
    checked.Set();
  }));
  thread->Resume();
  ASSERT_TRUE(checked.Wait(INFINITE));
  EXPECT_FALSE(joinedItself);
  EXPECT_TRUE(thread->Join());
}

}  // namespace
