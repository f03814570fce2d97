// The EPG workers polling the splitter, driven by a stream pusher and the
// manual clock.
#include <gtest/gtest.h>

#include <atomic>

#include "DSFilters/PsiRenderer/BackgroundEpgDvb.h"
#include "DSFilters/PsiRenderer/EpgAtsc.h"
#include "DSFilters/PsiRenderer/EpgDvb.h"
#include "SearchStreamPusher.h"
#include "psi/SectionBuilder.h"
#include "support/TestData.h"

namespace {

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
  epg.SetCallback(&callback);
  SearchStreamPusher pusher(splitter, file);
  for (int run = 0; run < 2; ++run) {
    callback.calls = 0;
    callback.delivered = 0;
    ASSERT_TRUE(epg.Start(THREAD_PRIORITY_IDLE));
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(pusher.Step(*clock, 2000));
    const size_t total = epg.GetEvents()->Count();
    const int calls = callback.calls;
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(pusher.Step(*clock, 2000));
    epg.Stop();
    ASSERT_GT(total, 0u);
    EXPECT_EQ(size_t(callback.delivered.load()), total) << "every event once, run " << run;
    EXPECT_EQ(callback.calls.load(), calls) << "no call when nothing is new";
  }
}

// An ATSC EIT section of one source with one event.
std::vector<uint8_t> AtscEit(uint16_t sourceId, uint16_t eventId, const std::string& title) {
  std::vector<uint8_t> mss = {0x01, 'e', 'n', 'g', 0x01, 0x00, 0x00, static_cast<uint8_t>(title.size())};
  mss.insert(mss.end(), title.begin(), title.end());
  std::vector<uint8_t> body = {0x00, 0x01, static_cast<uint8_t>(0xC0 | eventId >> 8), static_cast<uint8_t>(eventId),
                         0x40, 0x00, 0x00, 0x00, 0xC0, 0x0E, 0x10, static_cast<uint8_t>(mss.size())};
  body.insert(body.end(), mss.begin(), mss.end());
  body.insert(body.end(), {0xF0, 0x00});
  return psitest::BuildSection({0xCB, sourceId, 0, true, 0, 0, body});
}

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
