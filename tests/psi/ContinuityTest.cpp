// Continuity per PID on a real stream: a duplicate packet (as MPEG-2 allows
// once) loses nothing; a lost packet loses only the section it belonged to;
// an announced discontinuity is not a loss.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "psi/TsTestSupport.h"
#include "support/TestData.h"

using psitest::Bytes;
using psitest::ReceivedSection;
using psitest::SectionCollector;

namespace {

constexpr size_t kPacket = 188;

uint16_t PidAt(const Bytes& stream, size_t packet) {
  return static_cast<uint16_t>(((stream[packet * kPacket + 1] & 0x1F) << 8) | stream[packet * kPacket + 2]);
}
bool UnitStartAt(const Bytes& stream, size_t packet) { return (stream[packet * kPacket + 1] & 0x40) != 0; }

std::vector<ReceivedSection> Sections(const Bytes& stream) {
  SectionCollector c;
  for (size_t i = 0; i < stream.size() / kPacket; ++i) c.AddPid(PidAt(stream, i));
  c.Push(stream);
  return c.sections;
}

// The packets of the stream with `change` applied to the packet list.
template <typename TChange>
Bytes Edit(const Bytes& stream, TChange change) {
  std::vector<Bytes> packets;
  for (size_t i = 0; i < stream.size() / kPacket; ++i) packets.push_back(psitest::Slice(stream, i * kPacket, kPacket));
  change(packets);
  Bytes out;
  for (const Bytes& p : packets) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Continuation packets: each lies inside one section that spans packets.
std::vector<size_t> ContinuationPackets(const Bytes& stream) {
  std::vector<size_t> found;
  for (size_t i = 0; i < stream.size() / kPacket; ++i)
    if (!UnitStartAt(stream, i) && PidAt(stream, i) != 0x1FFF) found.push_back(i);
  return found;
}

}  // namespace

TEST(Continuity, DuplicatesLoseNothingAndALostPacketOnlyItsSection) {
  REQUIRE_SHARED_FILE(file, "test-002.sections.ts");
  const Bytes stream = psitest::ReadFile(file);
  const std::vector<ReceivedSection> clean = Sections(stream);
  const std::vector<size_t> continuations = ContinuationPackets(stream);
  ASSERT_GT(continuations.size(), 20u);
  const size_t middle = continuations[continuations.size() / 2];

  struct Case {
    const char* what;
    std::vector<size_t> duplicated;  // each sent twice in a row
    std::vector<size_t> dropped;
    size_t lostSections;
  };
  std::vector<size_t> everyTenth;
  for (size_t i = 0; i < continuations.size(); i += 10) everyTenth.push_back(continuations[i]);
  const Case cases[] = {
      {"one duplicate inside a multi-packet section", {middle}, {}, 0},
      {"a duplicate every tenth continuation packet", everyTenth, {}, 0},
      {"one packet lost inside a section", {}, {middle}, 1},
      {"a duplicate next to a lost packet of another section", {continuations[3]}, {middle}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes edited = Edit(stream, [&](std::vector<Bytes>& packets) {
      // Back to front, so the indexes stay those of the clean stream.
      std::vector<std::pair<size_t, bool>> edits;
      for (size_t i : c.duplicated) edits.push_back({i, true});
      for (size_t i : c.dropped) edits.push_back({i, false});
      std::sort(edits.rbegin(), edits.rend());
      for (const auto& [index, duplicate] : edits) {
        if (duplicate)
          packets.insert(packets.begin() + static_cast<long>(index), packets[index]);
        else
          packets.erase(packets.begin() + static_cast<long>(index));
      }
    });
    const std::vector<ReceivedSection> received = Sections(edited);
    ASSERT_EQ(received.size() + c.lostSections, clean.size());
    const std::multiset<ReceivedSection> expected(clean.begin(), clean.end());
    for (const ReceivedSection& s : received) EXPECT_TRUE(expected.contains(s)) << "a damaged section got through";
  }
}

// A packet repeating the previous counter is the allowed duplicate, unless
// its adaptation field announces a discontinuity.
TEST(Continuity, AnAnnouncedDiscontinuityIsNeverTakenForADuplicate) {
  constexpr uint16_t kPid = 0x100;
  Bytes section = {0x00, 0xB1, 0x29};  // 300 bytes: one start packet and one continuation
  section.resize(300, 0x11);
  const auto startPacket = [&](uint8_t counter, bool announced) {
    Bytes packet = {0x47, static_cast<uint8_t>(0x40 | (kPid >> 8)), static_cast<uint8_t>(kPid & 0xFF),
                    static_cast<uint8_t>(0x30 | counter), 0x01,
                    static_cast<uint8_t>(announced ? 0x80 : 0x00), 0x00};
    const Bytes head = psitest::Slice(section, 0, 181);
    packet.insert(packet.end(), head.begin(), head.end());
    return packet;
  };
  const Bytes rest = psitest::Slice(section, 181, 119);
  // Counts what the assembler completes (the CRC check comes after).
  struct Counting : SectionCollector {
    int assembled = 0;
    bool OnSectionData(uint16_t pid, const uint8_t* data, uint32_t length) override {
      ++assembled;
      return SectionCollector::OnSectionData(pid, data, length);
    }
  };
  for (const bool announced : {true, false}) {
    SCOPED_TRACE(announced ? "announced" : "not announced");
    Counting c;
    c.AddPid(kPid);
    c.Push(startPacket(3, false));
    c.Push(psitest::MakePacket(kPid, false, rest, 4));
    c.Push(startPacket(4, announced));  // the counter of the previous packet again
    c.Push(psitest::MakePacket(kPid, false, rest, 5));
    EXPECT_EQ(c.assembled, announced ? 2 : 1);
  }
}
