// The EPG workers polling the splitter, driven by a stream pusher and the
// manual clock.
#include <gtest/gtest.h>

#include <atomic>

#include "AtscSections.h"
#include "DSFilters/PsiRenderer/EpgCallbackSink.h"
#include "DSFilters/PsiRenderer/engine/BackgroundEpgDvb.h"
#include "DSFilters/PsiRenderer/engine/EpgAtsc.h"
#include "DSFilters/PsiRenderer/engine/EpgDvb.h"
#include "SearchStreamPusher.h"
#include "psi/SectionBuilder.h"
#include "support/TestData.h"

namespace {

using atsctest::AtscEit;

constexpr uint32_t kStepMs = 1000;

TEST(EpgDvbWorker, CollectsUntilThirtyQuietSecondsThenKeepsRunning) {
  REQUIRE_SHARED_FILE(file, "test-092.sections.packed.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CEpgDvb epg(splitter, PsiRenderer_NetworkType_Dvbt);
  epg.Reset();
  ASSERT_TRUE(epg.Start(THREAD_PRIORITY_NORMAL));
  SearchStreamPusher pusher(splitter, file);
  int steps = 0;
  while (!epg.IsCompleted() && steps < 120) {
    ASSERT_TRUE(pusher.Step(*clock, kStepMs));
    ++steps;
  }
  EXPECT_TRUE(epg.IsCompleted());
  EXPECT_GE(steps, 30) << "completion needs a 30 s window without new events";
  EXPECT_TRUE(epg.IsRunning()) << "a completed scan keeps collecting until stopped";
  epg.Stop();
  auto& entries = epg.GetEvents()->Entries();
  ASSERT_FALSE(entries.empty());
  for (const auto& [key, entry] : entries) EXPECT_EQ(std::get<1>(key), 1) << "only the actual transport stream";
}

class CountingCallback : public IEpgCallback {
 public:
  HRESULT OnEpgEvents(IEpgEvents* events) override {
    LONG count = 0;
    events->get_Count(&count);
    calls++;
    delivered += count;
    return S_OK;
  }
  std::atomic<int> calls{0};
  std::atomic<int> delivered{0};
};

TEST(BackgroundEpgWorker, DeliversOnlyNewEventsAndEverythingAgainAfterARestart) {
  REQUIRE_SHARED_FILE(file, "test-092.sections.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CBackgroundEpgDvb epg(splitter, PsiRenderer_NetworkType_Dvbt);
  CountingCallback callback;
  CEpgCallbackSink sink(&callback);
  epg.SetSink(&sink);
  SearchStreamPusher pusher(splitter, file);
  for (int run = 0; run < 2; ++run) {
    callback.calls = 0;
    callback.delivered = 0;
    ASSERT_TRUE(epg.Start(THREAD_PRIORITY_IDLE));
    // The idle-priority worker may be slow to get going on a loaded machine.
    for (int i = 0; i < 300 && callback.delivered == 0; ++i) ASSERT_TRUE(pusher.Step(*clock, 2000));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(pusher.Step(*clock, 2000));
    const int calls = callback.calls;
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(pusher.Step(*clock, 2000));
    epg.Stop();
    const size_t total = epg.GetEvents()->Count();
    ASSERT_GT(total, 0u);
    EXPECT_EQ(size_t(callback.delivered.load()), total) << "every event once, run " << run;
    EXPECT_EQ(callback.calls.load(), calls) << "no call when nothing is new";
  }
}

// An ATSC EIT section of one source with one event.
TEST(EpgAtscTables, KeepsOneTablePerSourceOnAnEitPid) {
  CPsiRendererSplitter splitter;
  CEpgAtsc epg(splitter, PsiRenderer_NetworkType_Atsc);
  EXPECT_FALSE(epg.TablesComplete()) << "nothing seen yet";
  epg.ProcessEventSection({0x1D00, 0xCB, AtscEit(1, 10, "First")});
  epg.ProcessEventSection({0x1D00, 0xCB, AtscEit(2, 10, "Second")});
  epg.ProcessEventSection({0x1D01, 0xCB, AtscEit(1, 11, "Later")});  // EIT-1 of source 1
  ASSERT_EQ(epg.GetEvents()->Count(), 3u);
  auto& entries = epg.GetEvents()->Entries();
  EXPECT_EQ((entries.at({-1, -1, 2, 10}).event.m_bstrEventName), u"Second");
  EXPECT_EQ((entries.at({-1, -1, 1, 11}).event.m_bstrEventName), u"Later");
  EXPECT_TRUE(epg.TablesComplete());
}

}  // namespace
