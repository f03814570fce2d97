#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DSH/DSH.h"
#include "platform/bda/ControlInterfaces.h"
#include "platform/com/Utf.h"
#include "platform/linuxdvb/LinuxDvbTunerFilter.h"
#include "support/FileBytes.h"
#include "support/FakeFrontend.h"
#include "support/TestData.h"
#include "support/TuneRequests.h"

namespace {
struct LinuxDvbTuner : ::testing::Test {
  TempDir root;
  FakeFrontendIo io{root};
  std::vector<std::string> frontends;
  void SetUp() override {
    for (const auto& spec : ThreeAdapters()) frontends.push_back(io.Add(spec));
  }

  // A graph with the tuner of adapter `adapter`.
  void Build(tune::TunerGraph& g, int adapter, const std::string& output) {
    ComPtr<IUnknown> filter;
    BStr moniker(Utf8ToUtf16(frontends[static_cast<size_t>(adapter)]));
    ASSERT_EQ(DSH::CreateFilterByMonikerName(moniker.Get(), filter.Put()), S_OK);
    g.Build(filter.Get(), output);
  }

  static void ChooseDiseqcInput(IBaseFilter* tuner, ULONG range) {
    ComPtr<IUnknown> node;
    ASSERT_EQ(QueryAs<IBDA_Topology>(tuner)->GetControlNode(0, 1, 0, node.Put()), S_OK);
    ASSERT_EQ(QueryAs<IBDA_FrequencyFilter>(node.Get())->put_Range(range), S_OK);
  }
};
}  // namespace

TEST_F(LinuxDvbTuner, TunesWithTheDvbV5PropertiesOfEachNetwork) {
  struct Case {
    const char* name;
    int adapter;
    ComPtr<ITuneRequest> request;
    std::optional<ULONG> range;
    PropertyList properties;
    std::vector<std::string> sec;
  };
  const Case cases[] = {
      {"DVB-T",
       1,
       tune::Dvbt(522000, 8),
       {},
       {{DTV_DELIVERY_SYSTEM, SYS_DVBT},
        {DTV_FREQUENCY, 522000000},
        {DTV_BANDWIDTH_HZ, 8000000},
        {DTV_MODULATION, QAM_AUTO},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {}},
      {"DVB-C",
       1,
       tune::Dvbc(346000, 6900, BDA_MOD_256QAM),
       {},
       {{DTV_DELIVERY_SYSTEM, SYS_DVBC_ANNEX_A},
        {DTV_FREQUENCY, 346000000},
        {DTV_MODULATION, QAM_256},
        {DTV_SYMBOL_RATE, 6900000},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {}},
      {"ATSC antenna, channel 14",
       2,
       tune::AtscAntenna(14),
       {},
       {{DTV_DELIVERY_SYSTEM, SYS_ATSC},
        {DTV_FREQUENCY, 473000000},
        {DTV_MODULATION, VSB_8},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {}},
      {"ATSC cable, channel 2",
       2,
       tune::AtscCable(55250, BDA_MOD_256QAM),
       {},
       {{DTV_DELIVERY_SYSTEM, SYS_DVBC_ANNEX_B},
        {DTV_FREQUENCY, 57000000},
        {DTV_MODULATION, QAM_256},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {}},
      {"DVB-S high band horizontal, DiSEqC position 2",
       0,
       tune::Dvbs(12603000, 27500, BDA_POLARISATION_LINEAR_H),
       1,
       {{DTV_DELIVERY_SYSTEM, SYS_DVBS},
        {DTV_FREQUENCY, 12603000 - 10600000},
        {DTV_MODULATION, QPSK},
        {DTV_SYMBOL_RATE, 27500000},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {"tone off", "voltage 18", "diseqc e0 10 38 f7", "tone on"}},
      {"DVB-S2 low band vertical, DiSEqC position 1",
       0,
       tune::Dvbs(11493750, 22000, BDA_POLARISATION_LINEAR_V, {}, BDA_MOD_8PSK),
       0,
       {{DTV_DELIVERY_SYSTEM, SYS_DVBS2},
        {DTV_FREQUENCY, 11493750 - 9750000},
        {DTV_MODULATION, PSK_8},
        {DTV_SYMBOL_RATE, 22000000},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {"tone off", "voltage 13", "diseqc e0 10 38 f0", "tone off"}},
      {"DVB-S without DiSEqC",
       0,
       tune::Dvbs(10714000, 22000, BDA_POLARISATION_LINEAR_H),
       {},
       {{DTV_DELIVERY_SYSTEM, SYS_DVBS},
        {DTV_FREQUENCY, 10714000 - 9750000},
        {DTV_MODULATION, QPSK},
        {DTV_SYMBOL_RATE, 22000000},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {"tone off", "voltage 18", "tone off"}},
      {"DVB-S2 with inner FEC, roll-off and pilot",
       0,
       tune::Dvbs(11954000, 27500, BDA_POLARISATION_LINEAR_H, {}, BDA_MOD_NBC_8PSK,
                  {BDA_BCC_RATE_3_4, BDA_ROLL_OFF_25, BDA_PILOT_ON}),
       {},
       {{DTV_DELIVERY_SYSTEM, SYS_DVBS2},
        {DTV_FREQUENCY, 11954000 - 10600000},
        {DTV_MODULATION, PSK_8},
        {DTV_SYMBOL_RATE, 27500000},
        {DTV_INNER_FEC, FEC_3_4},
        {DTV_ROLLOFF, ROLLOFF_25},
        {DTV_PILOT, PILOT_ON},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {"tone off", "voltage 18", "tone on"}},
      {"single-oscillator LNB covers its band without the tone",
       0,
       tune::Dvbs(12603000, 27500, BDA_POLARISATION_LINEAR_V, {11250000, -1, -1}),
       {},
       {{DTV_DELIVERY_SYSTEM, SYS_DVBS},
        {DTV_FREQUENCY, 12603000 - 11250000},
        {DTV_MODULATION, QPSK},
        {DTV_SYMBOL_RATE, 27500000},
        {DTV_INVERSION, INVERSION_AUTO},
        {DTV_TUNE, 0}},
       {"tone off", "voltage 13", "tone off"}},
  };
  for (const Case& c : cases) {
    io.propertySets.clear();
    io.secCalls.clear();
    tune::TunerGraph g;
    Build(g, c.adapter, root / "out.ts");
    if (c.range) ChooseDiseqcInput(g.tuner.Get(), *c.range);
    ASSERT_EQ(g.Tune(c.request.Get()), S_OK) << c.name;
    // Every tune starts from a cleared property cache.
    EXPECT_EQ(io.propertySets, (std::vector<PropertyList>{{{DTV_CLEAR, 0}}, c.properties})) << c.name;
    EXPECT_EQ(io.secCalls, c.sec) << c.name;
  }
}

TEST_F(LinuxDvbTuner, DeliversTheDvrBytesThroughAFullTransportStreamFilter) {
  REQUIRE_SHARED_FILE(stream, "test-108.ts");
  const std::string bytes = ReadFileBytes(stream);
  for (const int overflowAt : {0, 3}) {
    io.ServeDvr(1, bytes);
    io.OverflowAtRead(overflowAt);
    io.pesFilter.reset();
    tune::TunerGraph g;
    Build(g, 1, root / "dvr.ts");
    ASSERT_EQ(g.Tune(tune::Dvbt(522000, 8).Get()), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK);
    // The dvr file ends: end of stream, and the writer completes.
    GraphEvent event{};
    ASSERT_TRUE(g.graph->GetEvent(&event, INFINITE));
    EXPECT_EQ(event.code, EC_COMPLETE);
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_TRUE(ReadFileBytes(root / "dvr.ts") == bytes) << "overflow at read " << overflowAt;
    ASSERT_TRUE(io.pesFilter);
    EXPECT_EQ(io.pesFilter->pid, 0x2000);
    EXPECT_EQ(io.pesFilter->input, DMX_IN_FRONTEND);
    EXPECT_EQ(io.pesFilter->output, DMX_OUT_TS_TAP);
    EXPECT_EQ(io.pesFilter->flags & DMX_IMMEDIATE_START, DMX_IMMEDIATE_START);
    auto* tuner = dynamic_cast<CLinuxDvbTunerFilter*>(g.tuner.Get());
    ASSERT_TRUE(tuner);
    EXPECT_EQ(tuner->Overflows(), overflowAt ? 1u : 0u);
  }
}

TEST_F(LinuxDvbTuner, AdapterWithoutItsDevicesEndsTheStreamWithAnError) {
  for (const char* device : {"demux0", "dvr0"}) {
    SCOPED_TRACE(device);
    std::filesystem::remove(root / ("dev/dvb/adapter1/" + std::string(device)));
    tune::TunerGraph g;
    Build(g, 1, root / "none.ts");
    ASSERT_EQ(g.Tune(tune::Dvbt(522000, 8).Get()), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK);
    GraphEvent event{};
    ASSERT_TRUE(g.graph->GetEvent(&event, INFINITE));
    EXPECT_EQ(event.code, EC_ERRORABORT);
    ASSERT_TRUE(g.graph->GetEvent(&event, INFINITE));
    EXPECT_EQ(event.code, EC_COMPLETE);
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_EQ(g.writer->BytesWritten(), 0u);
    root.Write("dev/dvb/adapter1/" + std::string(device), "");
  }
}

TEST_F(LinuxDvbTuner, StopDuringABlockedReadWakesThePoll) {
  io.ServeDvrFifo(1);
  // A writer that never writes: the dvr poll blocks.
  const int writer = ::open(io.DvrPath(1).c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  tune::TunerGraph g;
  Build(g, 1, root / "blocked.ts");
  ASSERT_EQ(g.Tune(tune::Dvbt(522000, 8).Get()), S_OK);
  ASSERT_EQ(g.graph->Run(), S_OK);
  ASSERT_TRUE(io.pollEntered.Wait(INFINITE));
  ASSERT_EQ(g.graph->Stop(), S_OK);
  EXPECT_TRUE(io.wokenByOther);
  EXPECT_EQ(g.writer->BytesWritten(), 0u);
  ::close(writer);
}

TEST_F(LinuxDvbTuner, SignalFromTheStatisticsOrTheOlderCalls) {
  const auto stat = [](uint8_t scale, int64_t value) {
    dtv_stats s{};
    s.scale = scale;
    if (scale == FE_SCALE_DECIBEL) s.svalue = value;
    else s.uvalue = static_cast<uint64_t>(value);
    return s;
  };
  struct Case {
    const char* name;
    FakeSignal signal;
    SignalStatus expected;
  };
  const Case cases[] = {
      {"decibels", {FE_HAS_SIGNAL | FE_HAS_LOCK, stat(FE_SCALE_DECIBEL, -60000), stat(FE_SCALE_DECIBEL, 15000)},
       {50, 50, true, true}},
      {"relative", {FE_HAS_SIGNAL | FE_HAS_LOCK, stat(FE_SCALE_RELATIVE, 65535), stat(FE_SCALE_RELATIVE, 32768)},
       {100, 50, true, true}},
      {"not available: older calls",
       {FE_HAS_SIGNAL, stat(FE_SCALE_NOT_AVAILABLE, 0), std::nullopt, 0x8000, 0xFFFF},
       {50, 100, true, false}},
      {"nothing", {0, std::nullopt, std::nullopt, std::nullopt, std::nullopt}, {0, 0, false, false}},
  };
  for (const Case& c : cases) {
    io.SetSignal(frontends[1], c.signal);
    tune::TunerGraph g;
    Build(g, 1, root / "signal.ts");
    auto* tuner = dynamic_cast<CLinuxDvbTunerFilter*>(g.tuner.Get());
    ASSERT_TRUE(tuner);
    // Before the first tune the frontend is not open.
    EXPECT_EQ(tuner->Signal().locked, false);
    ASSERT_EQ(g.Tune(tune::Dvbt(522000, 8).Get()), S_OK);
    const SignalStatus s = tuner->Signal();
    EXPECT_EQ(s.strength, c.expected.strength) << c.name;
    EXPECT_EQ(s.quality, c.expected.quality) << c.name;
    EXPECT_EQ(s.present, c.expected.present) << c.name;
    EXPECT_EQ(s.locked, c.expected.locked) << c.name;
    LONG strength = -1;
    EXPECT_EQ(QueryAs<IScanningTuner>(g.provider.Get())->get_SignalStrength(&strength), S_OK);
    EXPECT_EQ(strength, c.expected.strength) << c.name;
  }
}
