#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "DSFilters/PsiRenderer/engine/ChannelSearchAtsc.h"
#include "DSFilters/PsiRenderer/engine/ChannelSearchDvb.h"
#include "SearchStreamPusher.h"
#include "support/TestData.h"

namespace {

constexpr uint32_t kStepMs = 200;
constexpr int64_t kNotCompleted = -1;

// Advances the clock step by step, one stream repetition per step, until the
// search is complete; returns the clock time that took.
int64_t RunUntilCompleted(CChannelSearchBase& search, SearchStreamPusher& pusher, ManualClock& clock,
                          uint32_t limitMs = 30000) {
  for (uint32_t elapsed = 0; elapsed <= limitMs; elapsed += kStepMs) {
    if (search.IsCompleted()) return elapsed;
    if (!pusher.Step(clock, kStepMs)) return kNotCompleted;
  }
  return kNotCompleted;
}

std::map<int32_t, CChannel> ByProgram(const CChannels& channels) {
  std::map<int32_t, CChannel> result;
  for (const CChannel& channel : channels.Copy()) result.emplace(channel.m_nProgramNumber, channel);
  return result;
}

TEST(SearchDvbTest, Test108GivesItsEightChannels) {
  REQUIRE_SHARED_FILE(file, "test-108.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CChannelSearchDvb search(splitter, PsiRenderer_NetworkType_Dvbt);
  SearchStreamPusher pusher(splitter, file);
  ASSERT_TRUE(search.StartChannelScan(0));
  ASSERT_NE(RunUntilCompleted(search, pusher, *clock), kNotCompleted);
  search.StopChannelScan();

  struct Expected {
    int32_t program;
    const char* name;
    int32_t serviceType;
    int32_t pmtPid;
    int32_t pcrPid;
  };
  const Expected expected[] = {
      {3401, "Rai 1", 1, 0x102, 0x200},       {3402, "Rai 2", 1, 0x101, 0x201},
      {3403, "Rai 3 TGR Emilia Romagna", 1, 0x100, 0x202},
      {3404, "Rai Radio1", 2, 0x103, 0x28d},  {3405, "Rai Radio2", 2, 0x104, 0x28e},
      {3406, "Rai Radio3", 2, 0x105, 0x28f},  {3411, "Rai News 24", 1, 0x118, 0x208},
      {3410, "Test HEVC main10", 31, 0x12c, 0x1f4},
  };
  const auto channels = ByProgram(*search.GetChannels());
  ASSERT_EQ(channels.size(), 8u);
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(channels.contains(e.program));
    const CChannel& channel = channels.at(e.program);
    EXPECT_EQ(channel.m_bstrServiceName.Utf8(), e.name);
    EXPECT_EQ(channel.m_nServiceType, e.serviceType);
    EXPECT_EQ(channel.m_nPmtPid, e.pmtPid);
    EXPECT_EQ(channel.m_nPcrPid, e.pcrPid);
    EXPECT_EQ(channel.m_nTransportStreamId, 18432);
    EXPECT_EQ(channel.m_nOriginalNetworkId, 318);
    EXPECT_FALSE(channel.m_vPids.empty());
  }
  // Rai 1: MPEG-1/2 audio on 0x28a and 0x2b6 plus AC-3 or other audio, listed by ascending PID.
  const auto& audio = channels.at(3401).m_vAudio;
  ASSERT_GE(audio.size(), 2u);
  for (size_t i = 1; i < audio.size(); ++i) EXPECT_LT(audio[i - 1].pid, audio[i].pid);
  EXPECT_EQ(audio.front().pid, 0x28a);
}

// A table that comes only after its time-out still reaches the channels: the
// search keeps its filters for what is missing.
TEST(SearchDvbTest, LatePmtAndLateSdtStillReachTheirChannels) {
  REQUIRE_SHARED_FILE(file, "test-108.ts");
  struct Case {
    const char* what;
    uint16_t pid;
    uint64_t repetitions;  // one per 200 ms step
  };
  const Case cases[] = {
      {"PMT of program 3410 after the 10 s PMT time-out", 0x12c, 60},
      {"SDT after 4 s", 0x11, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedManualClock clock;
    CPsiRendererSplitter splitter;
    CChannelSearchDvb search(splitter, PsiRenderer_NetworkType_Dvbt);
    SearchStreamPusher pusher(splitter, file, {}, {c.pid}, c.repetitions);
    ASSERT_TRUE(search.StartChannelScan(0));
    for (uint64_t i = 0; i < c.repetitions + 10; ++i) ASSERT_TRUE(pusher.Step(*clock, kStepMs));
    ASSERT_NE(RunUntilCompleted(search, pusher, *clock), kNotCompleted);
    search.StopChannelScan();
    const auto channels = ByProgram(*search.GetChannels());
    ASSERT_TRUE(channels.contains(3410));
    EXPECT_EQ(channels.at(3410).m_nPcrPid, 0x1f4);
    EXPECT_FALSE(channels.at(3410).m_vPids.empty());
    EXPECT_EQ(channels.at(3410).m_bstrServiceName.Utf8(), "Test HEVC main10");
  }
}

// test-018 carries the PMTs of only 2 of its 20 programs.
TEST(SearchDvbTest, MissingPmtsTimeOutAndTheSdtStillNamesEveryChannel) {
  REQUIRE_SHARED_FILE(file, "test-018.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CChannelSearchDvb search(splitter, PsiRenderer_NetworkType_Dvbt);
  SearchStreamPusher pusher(splitter, file);
  ASSERT_TRUE(search.StartChannelScan(0));
  const int64_t took = RunUntilCompleted(search, pusher, *clock);
  ASSERT_NE(took, kNotCompleted);
  EXPECT_GT(took, 10000);
  EXPECT_TRUE(search.IsRunning()) << "the last phase runs until stopped";

  const auto channels = ByProgram(*search.GetChannels());
  ASSERT_EQ(channels.size(), 20u);
  for (const auto& [program, channel] : channels) {
    SCOPED_TRACE(program);
    EXPECT_FALSE(channel.m_bstrServiceName.Utf8().empty());
    const bool clear = program == 8 || (program >= 101 && program <= 105) || program == 805 || program == 899;
    EXPECT_EQ(channel.m_nCa, clear ? 0 : 1) << "free_CA_mode before the CAT rule";
    EXPECT_EQ(channel.m_vPids.empty(), program != 1 && program != 2);
  }
  EXPECT_EQ(channels.at(1).m_bstrServiceName.Utf8(), "Italia 1");
  EXPECT_EQ(channels.at(2).m_nPcrPid, 0x64a);

  // No CAT in this stream: the stop clears every CA flag.
  search.StopChannelScan();
  for (const CChannel& channel : search.GetChannels()->Copy()) EXPECT_EQ(channel.m_nCa, 0);
}

TEST(SearchDvbTest, NoPmtAtAllEndsTheSearchWithTheProgramsOnly) {
  REQUIRE_SHARED_FILE(file, "test-018.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CChannelSearchDvb search(splitter, PsiRenderer_NetworkType_Dvbt);
  SearchStreamPusher pusher(splitter, file, {0x100, 0x101});
  ASSERT_TRUE(search.StartChannelScan(0));
  const int64_t took = RunUntilCompleted(search, pusher, *clock);
  ASSERT_NE(took, kNotCompleted);
  EXPECT_GT(took, 10000);
  ASSERT_TRUE(clock->WaitUntilIdle());
  EXPECT_FALSE(search.IsRunning()) << "the thread ends by itself";
  const auto channels = search.GetChannels()->Copy();
  ASSERT_EQ(channels.size(), 20u);
  for (const CChannel& channel : channels) {
    EXPECT_EQ(channel.m_nTransportStreamId, 6000);
    EXPECT_GE(channel.m_nPmtPid, 0x100);
    EXPECT_TRUE(channel.m_bstrServiceName.Utf8().empty());
    EXPECT_TRUE(channel.m_vPids.empty());
  }
  search.StopChannelScan();
}

TEST(SearchDvbTest, NoPatCompletesAfterThreeSecondsWithNoChannels) {
  REQUIRE_SHARED_FILE(file, "test-018.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CChannelSearchDvb search(splitter, PsiRenderer_NetworkType_Dvbt);
  SearchStreamPusher pusher(splitter, file, {0x0000});
  ASSERT_TRUE(search.StartChannelScan(0));
  const int64_t took = RunUntilCompleted(search, pusher, *clock);
  ASSERT_NE(took, kNotCompleted);
  EXPECT_GT(took, 3000);
  EXPECT_LT(took, 5000);
  EXPECT_EQ(search.GetChannels()->Size(), 0u);
  search.StopChannelScan();
}

// Its SDT actual has three sections; names from each of them show it completed, sent back to back. Program 11590's PMT
// PID carries the PMT of another program, so that PMT never arrives.
TEST(SearchDvbTest, Test002CompletesItsMultiSectionSdtAndKeepsCaWithACat) {
  REQUIRE_SHARED_FILE(file, "test-002.sections.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CChannelSearchDvb search(splitter, PsiRenderer_NetworkType_Dvbs);
  SearchStreamPusher pusher(splitter, file);
  ASSERT_TRUE(search.StartChannelScan(0));
  const int64_t took = RunUntilCompleted(search, pusher, *clock);
  ASSERT_NE(took, kNotCompleted);
  EXPECT_GT(took, 10000) << "after the PMT time-out";
  // Let the CAT arrive before stopping; the search keeps reading.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(pusher.Step(*clock, kStepMs));
  search.StopChannelScan();
  const auto channels = search.GetChannels()->Copy();
  ASSERT_EQ(channels.size(), 18u);
  int scrambled = 0;
  for (const CChannel& channel : channels) {
    SCOPED_TRACE(channel.m_nProgramNumber);
    // 11624 is a time-shifted service: its SDT entry has no service descriptor.
    EXPECT_EQ(channel.m_bstrServiceName.Utf8().empty(), channel.m_nProgramNumber == 11624);
    EXPECT_EQ(channel.m_vPids.empty(), channel.m_nProgramNumber == 11590);
    scrambled += channel.m_nCa == 1;
  }
  EXPECT_GT(scrambled, 0) << "a complete CAT keeps the SDT's CA flags";
}

TEST(SearchAtscTest, Test040GivesTheVctChannels) {
  REQUIRE_SHARED_FILE(file, "test-040.sections.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CChannelSearchAtsc search(splitter);
  SearchStreamPusher pusher(splitter, file);
  ASSERT_TRUE(search.StartChannelScan(0));
  ASSERT_NE(RunUntilCompleted(search, pusher, *clock), kNotCompleted);
  search.StopChannelScan();
  EXPECT_EQ(search.GetTransponderFrequencies()->Size(), 0u);

  struct Expected {
    int32_t program;
    const char* name;
    int32_t minor;
  };
  const Expected expected[] = {{3, "KULX", 1}, {4, "TelXito", 2}, {5, "LightTV", 3}, {6, "Quest", 4}};
  const auto channels = ByProgram(*search.GetChannels());
  ASSERT_EQ(channels.size(), 4u);
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(channels.contains(e.program));
    const CChannel& channel = channels.at(e.program);
    EXPECT_EQ(channel.m_bstrServiceName.Utf8().rfind(e.name, 0), 0u) << channel.m_bstrServiceName.Utf8();
    EXPECT_EQ(channel.m_nMajorChannelNumber, 10);
    EXPECT_EQ(channel.m_nMinorChannelNumber, e.minor);
    EXPECT_EQ(channel.m_nSourceId, e.minor);
    EXPECT_EQ(channel.m_nCa, 0);
    EXPECT_FALSE(channel.m_vPids.empty());
  }

  // A restart on the same object starts from an empty list and fresh tables.
  ASSERT_TRUE(search.StartChannelScan(0));
  ASSERT_NE(RunUntilCompleted(search, pusher, *clock), kNotCompleted);
  search.StopChannelScan();
  EXPECT_EQ(ByProgram(*search.GetChannels()).size(), 4u);
  EXPECT_EQ(search.GetChannels()->Size(), 4u);
}

}  // namespace
