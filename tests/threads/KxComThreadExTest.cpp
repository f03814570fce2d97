#include "threads/KxComThreadEx.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "platform/sync/Event.h"

namespace {

// Polls for a stop request and reports the apartment it ran in.
class PollingThread : public CKxComThreadEx {
 public:
  using CKxComThreadEx::CKxComThreadEx;
  ~PollingThread() override { WaitForThread(); }

  Event started;
  std::optional<uint32_t> apartment;  // of the first run
  std::atomic<int> passes{0};

 protected:
  void Run() override {
    if (++m_runs == 1) apartment = CurrentApartmentFlags();
    started.Set();
    while (!StopRequested()) {
      passes.fetch_add(1);
      std::this_thread::yield();
    }
  }

 private:
  int m_runs = 0;  // only touched by the object's one thread at a time
};

TEST(KxComThreadEx, BodyRunsInTheApartmentUntilStopped) {
  PollingThread thread(COINIT_APARTMENTTHREADED);
  ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
  ASSERT_TRUE(thread.started.Wait());
  thread.RequestStop();
  ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));  // waits for the first run to stop
  EXPECT_EQ(thread.apartment, COINIT_APARTMENTTHREADED);

  // The request was cleared on the way out, so the restarted body keeps running.
  ASSERT_TRUE(thread.started.Wait());
  const int before = thread.passes.load();
  while (thread.passes.load() < before + 10) std::this_thread::yield();
  thread.RequestStop();
}

TEST(KxComThreadEx, DefaultIsTheMultithreadedApartment) {
  PollingThread thread;
  thread.RequestStop();  // the body sees it on its first pass
  ASSERT_TRUE(thread.Start(THREAD_PRIORITY_NORMAL));
  ASSERT_TRUE(thread.started.Wait());
  thread.Start(THREAD_PRIORITY_NORMAL);
  EXPECT_EQ(thread.apartment, COINIT_MULTITHREADED);
  thread.RequestStop();
}

TEST(Apartment, CountedPerThreadWithOneModel) {
  EXPECT_FALSE(CurrentApartmentFlags());
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
  std::thread other([] { EXPECT_FALSE(CurrentApartmentFlags()); });
  other.join();
  CoUninitialize();
  EXPECT_EQ(CurrentApartmentFlags(), COINIT_MULTITHREADED);
  CoUninitialize();
  EXPECT_FALSE(CurrentApartmentFlags());
}

}  // namespace
