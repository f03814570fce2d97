#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DSH/DSH.h"
#include "platform/bda/ControlInterfaces.h"
#include "platform/com/Utf.h"
#include "platform/virtualdvb/VirtualTunerFilter.h"
#include "support/FileBytes.h"
#include "support/ClockDriving.h"
#include "support/TempDir.h"
#include "support/TuneRequests.h"

namespace {
std::string DemoFile(int mux) { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

ComPtr<IUnknown> TunerOf(const std::string& description, const std::string& id) {
  ComPtr<IUnknown> filter;
  BStr moniker(Utf8ToUtf16("virtualdvb:" + description + "#" + id));
  EXPECT_EQ(DSH::CreateFilterByMonikerName(moniker.Get(), filter.Put()), S_OK);
  return filter;
}

SignalStatus SignalOf(IBaseFilter* tuner) {
  auto topology = QueryAs<IBDA_Topology>(tuner);
  ComPtr<IUnknown> node;
  EXPECT_EQ(topology->GetControlNode(0, 1, 0, node.Put()), S_OK);
  auto statistics = QueryAs<IBDA_SignalStatistics>(node.Get());
  SignalStatus s;
  BOOLEAN locked = 0, present = 0;
  statistics->get_SignalStrength(&s.strength);
  statistics->get_SignalQuality(&s.quality);
  statistics->get_SignalLocked(&locked);
  statistics->get_SignalPresent(&present);
  s.locked = locked;
  s.present = present;
  return s;
}

// `bytes` is `file` from its start, over and over.
::testing::AssertionResult IsFileFromItsStartInALoop(const std::string& bytes, const std::string& file) {
  if (file.empty()) return ::testing::AssertionFailure() << "empty file";
  for (size_t pos = 0; pos < bytes.size(); pos += file.size()) {
    const size_t n = std::min(file.size(), bytes.size() - pos);
    if (bytes.compare(pos, n, file, 0, n) != 0)
      return ::testing::AssertionFailure() << "differs in the pass starting at byte " << pos;
  }
  return ::testing::AssertionSuccess();
}

struct VirtualTunerStream : ::testing::Test {
  ScopedManualClock clock;
  TempDir dir;
  void SetUp() override { ::setenv("DTV_DEMO_DIR", DTV_DEMO_DIR, 1); }
};
}  // namespace

TEST_F(VirtualTunerStream, DemoTunerPlaysTheTunedMultiplexExactlyAcrossTheLoopPoint) {
  const std::string mux2 = ReadFileBytes(DemoFile(2));
  ASSERT_GT(mux2.size(), 0u);
  tune::TunerGraph g;
  g.Build(TunerOf(DTV_DEMO_DESCRIPTION, "demo-dvbt-1").Get(), dir / "mux2.ts");
  ASSERT_EQ(g.Tune(tune::Dvbt(522000, 8).Get()), S_OK);
  const SignalStatus signal = SignalOf(g.tuner.Get());
  EXPECT_TRUE(signal.locked);
  EXPECT_EQ(signal.strength, 100);
  ASSERT_EQ(g.graph->Run(), S_OK);
  // Past the end of the file and well into its second pass.
  const uint64_t wanted = mux2.size() + 5 * CVirtualTunerFilter::kSampleBytes;
  ASSERT_TRUE(AdvanceUntil(*clock, 100, [&] { return g.writer->BytesWritten() >= wanted; }));
  ASSERT_EQ(g.graph->Stop(), S_OK);

  const std::string written = ReadFileBytes(dir / "mux2.ts");
  EXPECT_EQ(written.size(), g.writer->BytesWritten());
  EXPECT_GE(written.size(), wanted);
  EXPECT_TRUE(IsFileFromItsStartInALoop(written, mux2));
}

TEST_F(VirtualTunerStream, FrequencyWithoutMultiplexGivesNoSignalAndNoSamples) {
  tune::TunerGraph g;
  g.Build(TunerOf(DTV_DEMO_DESCRIPTION, "demo-dvbt-1").Get(), dir / "none.ts");
  ASSERT_EQ(g.Tune(tune::Dvbt(498000, 8).Get()), S_OK);
  const SignalStatus signal = SignalOf(g.tuner.Get());
  EXPECT_FALSE(signal.locked);
  EXPECT_FALSE(signal.present);
  EXPECT_EQ(signal.strength, 0);
  ASSERT_EQ(g.graph->Run(), S_OK);
  clock->Advance(10000);
  // Tuned to a multiplex, the same graph delivers: the silence was the frequency's.
  ASSERT_EQ(g.Tune(tune::Dvbt(474000 + 200, 8).Get()), S_OK);
  const uint64_t afterRetune = g.writer->BytesWritten();
  EXPECT_TRUE(SignalOf(g.tuner.Get()).locked);
  ASSERT_TRUE(AdvanceUntil(*clock, 10, [&] { return g.writer->BytesWritten() > 0; }));
  ASSERT_EQ(g.graph->Stop(), S_OK);
  EXPECT_EQ(afterRetune, 0u);
  EXPECT_TRUE(IsFileFromItsStartInALoop(ReadFileBytes(dir / "none.ts"), ReadFileBytes(DemoFile(1))));
}

TEST_F(VirtualTunerStream, SatelliteTunerSelectsByLnbInputPolarisationAndBand) {
  const std::string description = dir.Write("sat.xml", R"(<virtualTuners>
  <tuner id="sat" system="DVB-S2" friendlyName="Sat">
    <multiplex frequency="11493750" lnb="0" polarisation="H" symbolRate="22000" file=")" + DemoFile(1) + R"("/>
    <multiplex frequency="11493750" lnb="1" polarisation="H" symbolRate="22000" file=")" + DemoFile(2) + R"("
               strength="71" quality="64"/>
    <multiplex frequency="12603000" lnb="1" polarisation="V" symbolRate="27500" file=")" + DemoFile(3) + R"("/>
  </tuner></virtualTuners>)");
  struct Case {
    std::optional<ULONG> range;
    LONG frequency;
    Polarisation polarisation;
    int mux;  // 0: none
  };
  const Case cases[] = {
      {std::nullopt, 11493750, BDA_POLARISATION_LINEAR_H, 1},  // no DiSEqC: the first input
      {0, 11495500, BDA_POLARISATION_LINEAR_H, 1},             // 1750 kHz off: still received
      {1, 11493750, BDA_POLARISATION_LINEAR_H, 2},
      {1, 12603000, BDA_POLARISATION_LINEAR_V, 3},
      {1, 12603000, BDA_POLARISATION_LINEAR_H, 0},
      {1, 11496750, BDA_POLARISATION_LINEAR_H, 0},  // 3 MHz off
      {256, 11493750, BDA_POLARISATION_LINEAR_H, 0},
  };
  for (const Case& c : cases) {
    const std::string out = dir / ("sat-" + std::to_string(&c - cases) + ".ts");
    tune::TunerGraph g;
    g.Build(TunerOf(description, "sat").Get(), out);
    if (c.range) {
      ComPtr<IUnknown> node;
      ASSERT_EQ(QueryAs<IBDA_Topology>(g.tuner.Get())->GetControlNode(0, 1, 0, node.Put()), S_OK);
      ASSERT_EQ(QueryAs<IBDA_FrequencyFilter>(node.Get())->put_Range(*c.range), S_OK);
    }
    ASSERT_EQ(g.Tune(tune::Dvbs(c.frequency, 22000, c.polarisation).Get()), S_OK);
    const SignalStatus signal = SignalOf(g.tuner.Get());
    EXPECT_EQ(signal.locked, c.mux != 0) << c.frequency;
    EXPECT_EQ(signal.strength, c.mux == 0 ? 0 : c.mux == 2 ? 71 : 100) << c.frequency;
    if (c.mux == 0) continue;
    ASSERT_EQ(g.graph->Run(), S_OK);
    ASSERT_TRUE(AdvanceUntil(*clock, 10, [&] { return g.writer->BytesWritten() >= 100000; }));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_TRUE(IsFileFromItsStartInALoop(ReadFileBytes(out), ReadFileBytes(DemoFile(c.mux)))) << c.frequency;
  }
}

TEST_F(VirtualTunerStream, PlaysAtTheStreamsOwnRateOrTheGivenOne) {
  // A stream without clock references.
  std::string nulls;
  for (int i = 0; i < 2000; ++i) nulls += std::string("\x47\x1F\xFF\x10", 4) + std::string(184, '\xFF');
  const std::string noPcr = dir.Write("nulls.ts", nulls);
  const std::string description = dir.Write("rates.xml", R"(<virtualTuners><tuner id="t" system="DVB-C">
    <multiplex frequency="346000" file=")" + DemoFile(1) + R"("/>
    <multiplex frequency="354000" file=")" + DemoFile(1) + R"(" bitrate="1000000"/>
    <multiplex frequency="362000" file=")" + noPcr + R"("/>
  </tuner></virtualTuners>)");
  struct Case {
    LONG frequency;
    double bitrate;
  };
  // The demo streams are multiplexed at 12 Mbit/s.
  const Case cases[] = {{346000, 12e6}, {354000, 1e6}, {362000, double(CVirtualTunerFilter::kDefaultBitrate)}};
  constexpr uint64_t kPeriodMs = 4000;
  for (const Case& c : cases) {
    tune::TunerGraph g;
    g.Build(TunerOf(description, "t").Get(), dir / "rate.ts");
    ASSERT_EQ(g.Tune(tune::Dvbc(c.frequency, 6900, BDA_MOD_256QAM).Get()), S_OK);
    // The stream flows from the start; by the end of the period all that was due has come, and no more.
    ASSERT_EQ(g.graph->Run(), S_OK);
    const double expected = c.bitrate * kPeriodMs / 8000;
    const double sample = CVirtualTunerFilter::kSampleBytes;
    clock->Advance(kPeriodMs);
    ASSERT_TRUE(AdvanceUntil(*clock, 0, [&] { return double(g.writer->BytesWritten()) > expected - sample; }))
        << c.frequency << ": " << g.writer->BytesWritten() << " bytes of " << expected;
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_LE(double(g.writer->BytesWritten()), expected) << c.frequency;
  }
}

TEST_F(VirtualTunerStream, FileThatDisappearsEndsTheStreamWithAnError) {
  const std::string content = ReadFileBytes(DemoFile(1)).substr(0, 188 * 400);
  const std::string file = dir.Write("gone.ts", content);
  const std::string description = dir.Write("gone.xml", R"(<virtualTuners><tuner id="t" system="DVB-T">
    <multiplex frequency="474000" file=")" + file + R"("/><multiplex frequency="482000" file=")" +
                                                             dir / "never.ts" + R"("/></tuner></virtualTuners>)");
  for (const LONG frequency : {474000, 482000}) {
    tune::TunerGraph g;
    g.Build(TunerOf(description, "t").Get(), dir / "out.ts");
    ASSERT_EQ(g.Tune(tune::Dvbt(frequency, 8).Get()), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK);
    if (frequency == 474000) {
      ASSERT_TRUE(AdvanceUntil(*clock, 1, [&] { return g.writer->BytesWritten() > 0; }));
      std::filesystem::remove(file);
    }
    // The tuner's error, then the writer's completion of what came.
    GraphEvent event{};
    ASSERT_TRUE(AdvanceUntil(*clock, 10, [&] { return g.graph->GetEvent(&event, 0); }));
    EXPECT_EQ(event.code, EC_ERRORABORT) << frequency;
    ASSERT_TRUE(AdvanceUntil(*clock, 10, [&] { return g.graph->GetEvent(&event, 0); }));
    EXPECT_EQ(event.code, EC_COMPLETE) << frequency;
    ASSERT_EQ(g.graph->Stop(), S_OK);
    const std::string written = ReadFileBytes(dir / "out.ts");
    if (frequency == 474000) EXPECT_TRUE(IsFileFromItsStartInALoop(written, content));
    else EXPECT_TRUE(written.empty());
  }
}
