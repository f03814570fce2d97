#include "GraphManager/Watchdog.h"

#include "GraphManager/GraphManagerTestSupport.h"
#include "platform/sync/Event.h"

namespace {
// Arms the watchdog and lets its time run out; the process must end.
void HangPastTheWatchdog() {
  ScopedManualClock clock;
  CGraphWatchdog watchdog;
  watchdog.Arm(10000);
  clock->Advance(10000);
  Event never;
  never.Wait(INFINITE);
}

TEST(WatchdogTest, HungStateChangeEndsTheProcessWithTheWatchdogStatus) {
  TestLog log;
  EXPECT_EXIT(HangPastTheWatchdog(), ::testing::ExitedWithCode(kWatchdogExitStatus), "watchdog");
  EXPECT_NE(kWatchdogExitStatus & 0xFF, 0);
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
