#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "SplitterSections.h"
#include "support/TestData.h"

namespace {

using namespace splittertest;

void Push(CPsiRendererSplitter& splitter, const std::vector<uint8_t>& bytes) {
  splitter.PushSample(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SplitterTest, KeepsTheNewestCopyOfEveryDistinctSectionInKeyOrder) {
  CPsiRendererSplitter splitter;
  CSectionSubscription subscription(splitter);
  subscription.AddFilter(0x11, 0x42);
  const std::vector<uint8_t> body{0xAB};
  // A three-section table sent back to back, a newer copy of its section 1,
  // and a second table of the same table_id.
  Push(splitter, Packet(0x11, 0, Section(0x42, 2, 0, 0, body)));
  Push(splitter, Packet(0x11, 1, Section(0x42, 1, 0, 2, body)));
  Push(splitter, Packet(0x11, 2, Section(0x42, 1, 1, 2, body, 3)));
  Push(splitter, Packet(0x11, 3, Section(0x42, 1, 2, 2, body)));
  Push(splitter, Packet(0x11, 4, Section(0x42, 1, 1, 2, body, 4)));

  const auto sections = subscription.TakeSections();
  struct Expected {
    uint16_t extension;
    uint8_t number;
    uint8_t version;
  };
  const Expected expected[] = {{1, 0, 0}, {1, 1, 4}, {1, 2, 0}, {2, 0, 0}};
  ASSERT_EQ(sections.size(), std::size(expected));
  for (size_t i = 0; i < sections.size(); ++i) {
    const auto& data = sections[i].data;
    EXPECT_EQ(sections[i].pid, 0x11);
    EXPECT_EQ(sections[i].tableId, 0x42);
    EXPECT_EQ((data[3] << 8) | data[4], expected[i].extension) << i;
    EXPECT_EQ(data[6], expected[i].number) << i;
    EXPECT_EQ((data[5] >> 1) & 0x1F, expected[i].version) << i;
  }
}

TEST(SplitterTest, EttSectionsAreToldApartByTheirEtmId) {
  CPsiRendererSplitter splitter;
  CSectionSubscription subscription(splitter);
  subscription.AddFilter(0x1D00, 0xCC);
  Push(splitter, Packet(0x1D00, 0, Ett(0x00010005)));
  Push(splitter, Packet(0x1D00, 1, Ett(0x00010009)));
  Push(splitter, Packet(0x1D00, 2, Ett(0x00010005)));
  EXPECT_EQ(subscription.TakeSections().size(), 2u);
}

TEST(SplitterTest, TakeLeavesNothingAndPeekLeavesEverything) {
  CPsiRendererSplitter splitter;
  CSectionSubscription subscription(splitter);
  subscription.AddFilter(0x0000, 0x00);
  Push(splitter, Packet(0x0000, 0, Pat(7, 1, 0x100)));
  EXPECT_EQ(subscription.PeekSections().size(), 1u);
  EXPECT_EQ(subscription.PeekSections().size(), 1u);
  const auto taken = subscription.TakeSections();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].data, Pat(7, 1, 0x100));
  EXPECT_TRUE(subscription.TakeSections().empty());
  EXPECT_TRUE(subscription.PeekSections().empty());
}

TEST(SplitterTest, TableIdsAreAcceptedOnEveryRegisteredPidOnly) {
  CPsiRendererSplitter splitter;
  CSectionSubscription subscription(splitter);
  subscription.AddFilter(0x0000, 0x00);
  subscription.AddFilter(0x0100, 0x02);
  Push(splitter, Packet(0x0100, 0, Pat(7, 1, 0x100)));  // PAT table_id on a PMT PID: accepted
  Push(splitter, Packet(0x0200, 0, Pat(8, 1, 0x100)));  // unregistered PID
  Push(splitter, Packet(0x0000, 0, Nit(1, 1, 1, {})));  // table_id never added
  const auto sections = subscription.TakeSections();
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0].pid, 0x0100);

  subscription.ClearFilters();
  Push(splitter, Packet(0x0000, 1, Pat(7, 1, 0x100)));
  EXPECT_TRUE(subscription.TakeSections().empty());
}

// One collector starting or stopping never removes the PIDs another reads.
TEST(SplitterTest, SubscriptionsAreServedTheirUnionAndClearOnlyTheirOwn) {
  CPsiRendererSplitter splitter;
  CSectionSubscription caManager(splitter);
  caManager.AddFilter(0x0000, 0x00);
  {
    CSectionSubscription epg(splitter);
    epg.AddFilter(0x0000, 0x00);
    epg.AddFilter(0x0012, 0x4E);
    epg.ClearFilters();
    Push(splitter, Packet(0x0000, 0, Pat(7, 1, 0x100)));
    EXPECT_TRUE(epg.TakeSections().empty());
    epg.AddFilter(0x0000, 0x00);
    Push(splitter, Packet(0x0000, 1, Pat(7, 2, 0x100)));
    EXPECT_EQ(epg.TakeSections().size(), 1u);
  }  // the EPG goes; the CA manager still reads the PAT
  Push(splitter, Packet(0x0000, 2, Pat(7, 3, 0x100)));
  const auto sections = caManager.TakeSections();
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0].data[9], 3) << "the newest copy";
}

TEST(SplitterTest, PacketsCutBetweenSamplesAreJoinedButResetDropsThem) {
  const std::vector<uint8_t> packet = Packet(0x0000, 0, Pat(7, 1, 0x100));
  CPsiRendererSplitter splitter;
  CSectionSubscription subscription(splitter);
  subscription.AddFilter(0x0000, 0x00);
  splitter.PushSample(packet.data(), 100);
  splitter.PushSample(packet.data() + 100, 88);
  EXPECT_EQ(subscription.TakeSections().size(), 1u);

  splitter.PushSample(packet.data(), 100);
  splitter.Reset();
  subscription.AddFilter(0x0000, 0x00);
  splitter.PushSample(packet.data() + 100, 88);
  EXPECT_TRUE(subscription.TakeSections().empty());
}

// Real data: the three SDT actual sections of test-002 survive together,
// whatever the sample size.
TEST(SplitterTest, SampleSizeDoesNotChangeTheSectionsOfARealStream) {
  REQUIRE_SHARED_FILE(file, "test-002.sections.ts");
  const std::vector<uint8_t> stream = ReadFile(file);
  std::vector<std::vector<uint8_t>> reference;
  for (const size_t chunk : {stream.size(), size_t{1}, size_t{187}, size_t{1000}}) {
    CPsiRendererSplitter splitter;
    CSectionSubscription subscription(splitter);
    subscription.AddFilter(0x0011, 0x42);
    for (size_t pos = 0; pos < stream.size(); pos += chunk)
      splitter.PushSample(stream.data() + pos, static_cast<uint32_t>(std::min(chunk, stream.size() - pos)));
    std::vector<std::vector<uint8_t>> sections;
    for (auto& record : subscription.TakeSections()) sections.push_back(std::move(record.data));
    if (reference.empty()) {
      reference = sections;
      ASSERT_EQ(reference.size(), 3u);
      for (size_t i = 0; i < 3; ++i) EXPECT_EQ(reference[i][6], i) << "section numbers in key order";
    } else {
      EXPECT_EQ(sections, reference) << "chunk " << chunk;
    }
  }
}

}  // namespace
