// Real streams fed whole and in random pieces must give the same sections;
// the packed and plain forms of one section dump must give the same set.
#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <random>
#include <set>
#include <vector>

#include "psi/TsTestSupport.h"
#include "support/TestData.h"

using psitest::Bytes;
using psitest::ReceivedSection;
using psitest::SectionCollector;

namespace {

// Every PID carried by the stream, except null packets.
std::set<uint16_t> PidsOf(const Bytes& stream) {
  std::set<uint16_t> pids;
  for (size_t i = 0; i + 188 <= stream.size(); i += 188)
    if (stream[i] == 0x47) pids.insert(static_cast<uint16_t>(((stream[i + 1] & 0x1F) << 8) | stream[i + 2]));
  pids.erase(0x1FFF);
  return pids;
}

std::vector<ReceivedSection> FeedWhole(const Bytes& stream, const std::set<uint16_t>& pids) {
  SectionCollector c;
  for (uint16_t pid : pids) c.AddPid(pid);
  c.Push(stream);
  return c.sections;
}

std::vector<ReceivedSection> FeedInPieces(const Bytes& stream, const std::set<uint16_t>& pids, unsigned seed) {
  SectionCollector c;
  for (uint16_t pid : pids) c.AddPid(pid);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<size_t> size(1, 10000);
  for (size_t pos = 0; pos < stream.size();) {
    const size_t n = std::min(size(rng), stream.size() - pos);
    c.Push(stream.data() + pos, n);
    pos += n;
  }
  return c.sections;
}

std::set<ReceivedSection> Distinct(const std::vector<ReceivedSection>& sections) {
  return {sections.begin(), sections.end()};
}

std::map<uint16_t, std::vector<Bytes>> ByPid(const std::vector<ReceivedSection>& sections) {
  std::map<uint16_t, std::vector<Bytes>> byPid;
  for (const auto& s : sections) byPid[s.pid].push_back(s.bytes);
  return byPid;
}

size_t TotalBytes(const std::set<ReceivedSection>& sections) {
  return std::accumulate(sections.begin(), sections.end(), size_t{0},
                         [](size_t sum, const ReceivedSection& s) { return sum + s.bytes.size(); });
}

void ExpectSameInAnyPieces(const Bytes& stream, const std::set<uint16_t>& pids) {
  const auto whole = FeedWhole(stream, pids);
  ASSERT_FALSE(whole.empty());
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) EXPECT_TRUE(FeedInPieces(stream, pids, seed) == whole) << "seed " << seed;
}

}  // namespace

TEST(SharedStreams, PiecesGiveTheSameSectionsAsTheWholeStream) {
  for (const char* name : {"test-092.sections.ts", "test-092.sections.packed.ts", "test-002.sections.ts"}) {
    SCOPED_TRACE(name);
    REQUIRE_SHARED_FILE(path, name);
    const Bytes stream = psitest::ReadFile(path);
    ExpectSameInAnyPieces(stream, PidsOf(stream));
  }
}

TEST(SharedStreams, RealCapturePiecesGiveTheSameSections) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const Bytes stream = psitest::ReadFile(path);
  // PAT, NIT, SDT/BAT, EIT, TDT/TOT and the eight PMTs of the reference decode.
  const std::set<uint16_t> pids = {0x0000, 0x0010, 0x0011, 0x0012, 0x0014, 0x0100, 0x0101,
                                   0x0102, 0x0103, 0x0104, 0x0105, 0x0118, 0x012C};
  ExpectSameInAnyPieces(stream, pids);
  std::set<uint16_t> pmtPids;
  for (const auto& s : Distinct(FeedWhole(stream, pids)))
    if (s.tableId == 0x02) pmtPids.insert(s.pid);
  EXPECT_EQ(pmtPids.size(), 8u);
}

TEST(SharedStreams, PackedAndPlainDumpsGiveTheSameSections) {
  REQUIRE_SHARED_FILE(plainPath, "test-092.sections.ts");
  REQUIRE_SHARED_FILE(packedPath, "test-092.sections.packed.ts");
  const Bytes plain = psitest::ReadFile(plainPath), packed = psitest::ReadFile(packedPath);
  const auto fromPlain = FeedWhole(plain, PidsOf(plain));
  const auto fromPacked = FeedWhole(packed, PidsOf(packed));
  // The packetizer interleaves the PIDs differently; per PID the order is the same.
  EXPECT_TRUE(ByPid(fromPlain) == ByPid(fromPacked));
  // The reference decode lists 42 sections of 11327 bytes in all, each sent three times.
  const auto distinct = Distinct(fromPacked);
  EXPECT_EQ(distinct.size(), 42u);
  EXPECT_EQ(TotalBytes(distinct), 11327u);
  EXPECT_EQ(fromPacked.size(), 3 * 42u);
}
