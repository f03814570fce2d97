#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "DSFilters/PsiRenderer/EpgCallbackSink.h"
#include "DSFilters/PsiRenderer/engine/BackgroundEpgDvb.h"
#include "DSFilters/PsiRenderer/engine/CAManager.h"
#include "DSFilters/PsiRenderer/engine/TransponderInfo.h"
#include "SearchStreamPusher.h"
#include "SplitterSections.h"
#include "psi/ts/Crc32.h"
#include "support/TestData.h"

namespace {

using namespace splittertest;

void PushFile(CPsiRendererSplitter& splitter, const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  splitter.PushSample(bytes.data(), static_cast<uint32_t>(bytes.size()));
}


struct ScramblingCase {
  const char* file;
  uint16_t service;
  CCAManager::ScramblingState expected;
};

TEST(SplitterCAManagerTest, ScramblingStatesFromTheSdt) {
  const ScramblingCase cases[] = {
      {"test-108.ts", 3401, CCAManager::kClear},
      {"test-018.ts", 1, CCAManager::kScrambled},
      {"test-018.ts", 8, CCAManager::kClear},
      {"test-018.ts", 5, CCAManager::kUnknown},  // no such service
  };
  for (const ScramblingCase& c : cases) {
    SCOPED_TRACE(c.file);
    REQUIRE_SHARED_FILE(file, c.file);
    CPsiRendererSplitter splitter;
    CCAManager manager(splitter);
    EXPECT_EQ(manager.GetScramblingState(c.service), CCAManager::kUnknown);
    PushFile(splitter, file);
    manager.ProcessPendingSections();
    EXPECT_EQ(manager.GetScramblingState(c.service), c.expected) << c.service;
  }
}

// PMTs are read once the PAT names them, and a new PMT version replaces the
// stored one (ECM PIDs change without a retune).
TEST(SplitterCAManagerTest, StoresEveryPmtAndTakesANewVersion) {
  REQUIRE_SHARED_FILE(file, "test-108.ts");
  CPsiRendererSplitter splitter;
  CCAManager manager(splitter);
  PushFile(splitter, file);
  manager.ProcessPendingSections();  // the PAT registers the PMT PIDs
  PushFile(splitter, file);
  manager.ProcessPendingSections();
  std::vector<uint8_t> pmt = manager.GetPmt(3410);
  ASSERT_FALSE(pmt.empty());
  EXPECT_EQ(pmt[0], 0x02);
  EXPECT_TRUE(manager.GetPmt(9999).empty());
  EXPECT_EQ(manager.GetScramblingState(3410), CCAManager::kClear);

  // The same PMT with the next version_number, sent on its PID after a new stream start.
  pmt[5] = static_cast<uint8_t>((pmt[5] & 0xC1) | (((pmt[5] >> 1) + 1) & 0x1F) << 1);
  const uint32_t crc = Crc32Mpeg2(pmt.data(), static_cast<uint32_t>(pmt.size() - 4));
  for (int i = 0; i < 4; ++i) pmt[pmt.size() - 4 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  ASSERT_LE(pmt.size(), 183u);
  const uint16_t pmtPid = 0x012C;  // program 3410's PMT PID in test-108
  const std::vector<uint8_t> packet = Packet(pmtPid, 0, pmt);
  splitter.PushSample(packet.data(), static_cast<uint32_t>(packet.size()));
  manager.ProcessPendingSections();
  EXPECT_EQ(manager.GetPmt(3410), pmt);

  manager.Clear();
  EXPECT_TRUE(manager.GetPmt(3410).empty());
  EXPECT_EQ(manager.GetScramblingState(3410), CCAManager::kUnknown);
}

TEST(SplitterCAManagerTest, WorkerLearnsPmtsAndScramblingFromAStream) {
  REQUIRE_SHARED_FILE(file, "test-018.ts");
  ScopedManualClock clock;
  CPsiRendererSplitter splitter;
  CCAManager manager(splitter);
  SearchStreamPusher pusher(splitter, file);
  ASSERT_TRUE(manager.Start(THREAD_PRIORITY_NORMAL));
  for (int step = 0; step < 200 && (manager.GetPmt(2).empty() || manager.GetScramblingState(71) == 0); ++step)
    ASSERT_TRUE(pusher.Step(*clock, 100));
  manager.Stop();
  EXPECT_FALSE(manager.GetPmt(1).empty());
  EXPECT_FALSE(manager.GetPmt(2).empty());
  EXPECT_TRUE(manager.GetPmt(3).empty()) << "never broadcast";
  EXPECT_EQ(manager.GetScramblingState(71), CCAManager::kScrambled);
  EXPECT_EQ(manager.GetScramblingState(101), CCAManager::kClear);
}

class CountingCallback : public IEpgCallback {
 public:
  HRESULT OnEpgEvents(IEpgEvents* events) override {
    delivered.Set();
    return S_OK;
  }
  Event delivered{Event::Reset::Manual};
};

// The background EPG subscribes to the EIT beside the CA manager and the
// transponder information, and takes nothing from them.
TEST(SplitterCollectors, BackgroundEpgLeavesTheCaManagerAndTransponderInfoTheirSections) {
  REQUIRE_SHARED_FILE(file, "test-108.ts");
  CPsiRendererSplitter splitter;
  CCAManager manager(splitter);
  CTransponderInfo info(splitter);
  CBackgroundEpgDvb epg(splitter, PsiRenderer_NetworkType_Dvbt);
  CountingCallback callback;
  CEpgCallbackSink sink(&callback);
  epg.SetSink(&sink);
  ASSERT_TRUE(epg.Start(THREAD_PRIORITY_NORMAL));
  // Until the EPG is surely running: it has delivered events.
  for (int i = 0; i < 100 && !callback.delivered.IsSet(); ++i) {
    PushFile(splitter, file);
    callback.delivered.Wait(100);
  }
  ASSERT_TRUE(callback.delivered.IsSet());
  PushFile(splitter, file);
  manager.ProcessPendingSections();  // the PAT names the PMTs
  info.ProcessPendingSections();
  PushFile(splitter, file);
  manager.ProcessPendingSections();
  epg.Stop();
  EXPECT_EQ(manager.GetScramblingState(3410), CCAManager::kClear);
  EXPECT_FALSE(manager.GetPmt(3410).empty());
  EXPECT_EQ(info.Values().transportStreamId, 18432);
}

std::vector<uint8_t> SatelliteDelivery() {
  // 11.75 GHz, 13.0 degrees east, vertical, DVB-S2, 27500 ksym/s.
  return {0x43, 11, 0x01, 0x17, 0x50, 0x00, 0x01, 0x30, 0xA5, 0x02, 0x75, 0x00, 0x03};
}

std::vector<uint8_t> TerrestrialDelivery() {
  // 500 MHz in 10 Hz units.
  return {0x5A, 11, 0x02, 0xFA, 0xF0, 0x80, 0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
}

std::vector<uint8_t> CableDelivery() {
  // 346 MHz in 100 Hz units, 64-QAM, 6900 ksym/s.
  return {0x44, 11, 0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00, 0x03};
}

// An SDT actual without services: it names the multiplex's original network.
std::vector<uint8_t> Sdt(uint16_t tsId, uint16_t onId) {
  std::vector<uint8_t> body;
  PutUInt16(body, onId);
  body.push_back(0xFF);
  return Section(0x42, tsId, 0, 0, body);
}

TEST(SplitterTransponderInfoTest, OnlyTheCurrentTransportStreamOfItsOriginalNetworkCounts) {
  struct Case {
    const char* what;
    bool patFirst;
    uint16_t networkId;
    uint16_t tsId;
    uint16_t onId;
    int32_t sdtOnId;  // -1: no SDT
    std::vector<uint8_t> descriptor;
    TransponderValues expected;
  };
  const TransponderValues none;
  const Case cases[] = {
      {"satellite", true, 318, 7, 318, -1, SatelliteDelivery(), {11750000, 27500, 2, 1, 130, 7}},
      {"terrestrial", true, 318, 7, 318, -1, TerrestrialDelivery(), {50000000, -1, -1, 0, -1, 7}},
      {"cable", true, 318, 7, 318, -1, CableDelivery(), {346000, 6900, -1, 0, -1, 7}},
      {"another network, no SDT", true, 12289, 7, 318, -1, SatelliteDelivery(), {-1, -1, -1, 0, -1, 7}},
      {"another network, the SDT names the original one", true, 12289, 7, 318, 318, SatelliteDelivery(),
       {11750000, 27500, 2, 1, 130, 7}},
      {"the SDT names another original network", true, 318, 7, 318, 1, SatelliteDelivery(), {-1, -1, -1, 0, -1, 7}},
      {"another transport stream", true, 318, 8, 318, 318, SatelliteDelivery(), {-1, -1, -1, 0, -1, 7}},
      {"NIT before PAT", false, 318, 7, 318, -1, SatelliteDelivery(), {11750000, 27500, 2, 1, 130, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CPsiRendererSplitter splitter;
    CTransponderInfo info(splitter);
    const PsiSectionRecord pat{0x00, 0x00, Pat(7, 1, 0x100)};
    const PsiSectionRecord nit{0x10, 0x40, Nit(c.networkId, c.tsId, c.onId, c.descriptor)};
    if (c.patFirst) info.ProcessSection(pat);
    info.ProcessSection(nit);
    if (!c.patFirst) info.ProcessSection(pat);
    if (c.sdtOnId != -1) info.ProcessSection({0x11, 0x42, Sdt(7, static_cast<uint16_t>(c.sdtOnId))});
    const TransponderValues values = info.Values();
    EXPECT_EQ(values.frequency, c.expected.frequency);
    EXPECT_EQ(values.symbolRate, c.expected.symbolRate);
    EXPECT_EQ(values.polarisation, c.expected.polarisation);
    EXPECT_EQ(values.dvbS2, c.expected.dvbS2);
    EXPECT_EQ(values.orbitalPosition, c.expected.orbitalPosition);
    EXPECT_EQ(values.transportStreamId, c.expected.transportStreamId);
    info.Clear();
    EXPECT_EQ(info.Values().transportStreamId, none.transportStreamId);
  }
}

// Network 12289 carries the multiplexes of original network 318.
TEST(SplitterTransponderInfoTest, FindsTheMultiplexOfAnotherOriginalNetwork) {
  REQUIRE_SHARED_FILE(file, "test-108.ts");
  CPsiRendererSplitter splitter;
  CTransponderInfo info(splitter);
  PushFile(splitter, file);
  info.ProcessPendingSections();
  const TransponderValues values = info.Values();
  EXPECT_EQ(values.transportStreamId, 18432);
  // A UHF centre frequency, in the 10 Hz units the descriptor carries.
  EXPECT_GE(values.frequency, 47000000);
  EXPECT_LE(values.frequency, 86200000);
}

// Transponder info reads its own copy: another collector's sections stay.
TEST(SplitterTransponderInfoTest, ReadsItsOwnSectionsBesideAnotherCollector) {
  CPsiRendererSplitter splitter;
  CSectionSubscription other(splitter);
  other.AddFilter(0x00, 0x00);
  other.AddFilter(0x10, 0x40);
  CTransponderInfo info(splitter);
  for (const auto& packet : {Packet(0x00, 0, Pat(7, 1, 0x100)), Packet(0x10, 0, Nit(318, 7, 318, SatelliteDelivery()))})
    splitter.PushSample(packet.data(), static_cast<uint32_t>(packet.size()));
  info.ProcessPendingSections();
  EXPECT_EQ(info.Values().frequency, 11750000);
  EXPECT_EQ(other.PeekSections().size(), 2u);
}

}  // namespace
