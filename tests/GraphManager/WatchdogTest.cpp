#include "GraphManager/Watchdog.h"

#include <atomic>
#include <thread>

#include "GraphManager/GraphManagerTestSupport.h"
#include "GraphManager/TestGraphManager.h"
#include "support/DeviceTestEnvironment.h"

namespace {
// Moves the clock on until the process is ended from elsewhere.
[[noreturn]] void DriveClockForever(ManualClock& clock) {
  for (;;) {
    clock.Advance(100);
    std::this_thread::yield();
  }
}

// Arms the watchdog and lets its time run out; the process must end.
void HangPastTheWatchdog() {
  ScopedManualClock clock;
  CGraphWatchdog watchdog;
  watchdog.Arm(10000);
  DriveClockForever(*clock);
}

TEST(WatchdogTest, HungStateChangeEndsTheProcessWithTheWatchdogStatus) {
  TestLog log;
  EXPECT_EXIT(HangPastTheWatchdog(), ::testing::ExitedWithCode(kWatchdogExitStatus), "watchdog");
  EXPECT_NE(kWatchdogExitStatus & 0xFF, 0);
  EXPECT_TRUE(log.Contains("ERROR: timeout reached -> terminate process"));
}

// A graph whose filter hangs in Run, with the filter graph time-out set: the
// start never returns, and the watchdog ends the process once the clock has
// passed the time-out.
void StartAHangingGraph() {
  ScopedManualClock clock;
  auto manager = ComObject<CTestGraphManager>::Make();
  auto device = ComObject<CFakeCaptureDevice>::Make(u"virtualdvb:watchdog#t");
  manager->Initialize(device.Get(), false);
  manager->put_FilterGraphTimeout(VARIANT_TRUE, 15000);
  if (manager->BuildGraph(KxGraphType_Playback) != S_OK) ::_exit(2);
  manager->Sink().hangOnRun = true;
  std::atomic<bool> starting{false};
  std::thread driver([&] {
    while (!starting) std::this_thread::yield();
    DriveClockForever(*clock);
  });
  starting = true;
  manager->StartGraph();
  ::_exit(3);  // not reached: the start hangs
}

TEST(WatchdogTest, HungGraphStartEndsTheProcess) {
  const DeviceTestEnvironment environment;  // the device lock of this test only
  TestLog log;
  EXPECT_EXIT(StartAHangingGraph(), ::testing::ExitedWithCode(kWatchdogExitStatus), "more than 15000 ms");
  EXPECT_TRUE(log.Contains("Filter graph timeout: 15000"));
  EXPECT_TRUE(log.Contains("ERROR: timeout reached -> terminate process"));
}

TEST(WatchdogTest, StateChangeInTimeDisarmsIt) {
  ScopedManualClock clock;
  CGraphWatchdog watchdog;
  ASSERT_TRUE(watchdog.Arm(10000));
  clock->Advance(9990);
  watchdog.Disarm();
  clock->Advance(100000);
  // Reaching here in this process is the proof; arming again still works.
  EXPECT_TRUE(watchdog.Arm(10000));
}
}  // namespace
