#include "threads/KxThreadBase.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sync/Event.h"

namespace {

// Records the order of what happens on every thread.
class Journal {
 public:
  void Add(std::string entry) {
    std::lock_guard lock(m_mutex);
    m_entries.push_back(std::move(entry));
  }
  std::vector<std::string> Entries() {
    std::lock_guard lock(m_mutex);
    return m_entries;
  }

 private:
  std::mutex m_mutex;
  std::vector<std::string> m_entries;
};

class TestThread : public CKxThreadBase {
 public:
  TestThread(Journal& journal, std::function<void(int run)> body) : m_journal(journal), m_body(std::move(body)) {}
  ~TestThread() override { WaitForThread(); }

 protected:
  void OnThreadAttach(bool entering) override { m_journal.Add(entering ? "attach" : "detach"); }
  void Run() override {
    const int run = ++m_runs;
    m_journal.Add("run " + std::to_string(run));
    m_body(run);
    m_journal.Add("end " + std::to_string(run));
  }

 private:
  Journal& m_journal;
  std::function<void(int)> m_body;
  int m_runs = 0;  // only touched by the object's one thread at a time
};

using Entries = std::vector<std::string>;

TEST(KxThreadBase, BodyIsBracketedByAttachAndDetach) {
  Journal journal;
  {
    TestThread thread(journal, [](int) {});
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
  }
  EXPECT_EQ(journal.Entries(), (Entries{"attach", "run 1", "end 1", "detach"}));
}

TEST(KxThreadBase, StartWaitsForThePreviousThread) {
  Journal journal;
  Event secondStartCalled;
  TestThread thread(journal, [&](int run) {
    if (run != 1) return;
    secondStartCalled.Wait();
    // Gives a Start that does not wait the chance to overtake this run.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  });
  ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
  std::thread owner([&] {
    secondStartCalled.Set();
    EXPECT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    journal.Add("second start returned");
  });
  owner.join();
  thread.Start(THREAD_PRIORITY_NORMAL);  // and once more, to join the second run in order
  const Entries entries = journal.Entries();
  const auto at = [&](const std::string& entry) { return std::find(entries.begin(), entries.end(), entry) - entries.begin(); };
  EXPECT_LT(at("detach"), at("second start returned"));
  EXPECT_LT(at("end 1"), at("run 2"));
}

TEST(KxThreadBase, BodyThatReturnsAtOnceCanBeRestartedAtOnce) {
  Journal journal;
  {
    TestThread thread(journal, [](int) {});
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
  }
  EXPECT_EQ(journal.Entries(), (Entries{"attach", "run 1", "end 1", "detach", "attach", "run 2", "end 2", "detach",
                                        "attach", "run 3", "end 3", "detach"}));
}

TEST(KxThreadBase, DestructorWaitsForTheThread) {
  Journal journal;
  Event running;
  {
    TestThread thread(journal, [&](int) {
      running.Set();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    });
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
    running.Wait();
  }
  journal.Add("destroyed");
  EXPECT_EQ(journal.Entries(), (Entries{"attach", "run 1", "end 1", "detach", "destroyed"}));
}

TEST(KxThreadBase, PriorityIsSetBeforeTheBodyRuns) {
  Journal journal;
  int niceInBody = 0;
  {
    TestThread thread(journal, [&](int) {
      niceInBody = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    });
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_IDLE));
  }
  EXPECT_EQ(niceInBody, 19);
}

}  // namespace

namespace {

struct SelfCalls {
  bool restarted = true;
  bool waited = true;
};

// Starts itself again and waits for itself: neither may abort the process.
class SelfServingThread : public CKxThreadBase {
 public:
  explicit SelfServingThread(SelfCalls& calls) : m_calls(calls) {}
  ~SelfServingThread() override { WaitForThread(); }

 protected:
  void Run() override {
    m_calls.restarted = Start(THREAD_PRIORITY_NORMAL);
    m_calls.waited = WaitForThread();
  }

 private:
  SelfCalls& m_calls;
};

TEST(KxThreadBase, StartAndWaitOnItsOwnThreadAreRefused) {
  SelfCalls calls;
  {
    SelfServingThread thread(calls);
    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
  }
  EXPECT_FALSE(calls.restarted);
  EXPECT_FALSE(calls.waited);
}

}  // namespace
