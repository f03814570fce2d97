#include "psi/ts/PsiSectionSplitter.h"

#include <gtest/gtest.h>

#include <vector>

#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::MakePacket;
using psitest::SectionCollector;
using psitest::Slice;

namespace {

constexpr uint16_t kPid = 0x0100;

Bytes Section(uint8_t tableId, size_t bodySize, uint8_t fill = 0x11) {
  psitest::SectionSpec spec;
  spec.tableId = tableId;
  spec.body.assign(bodySize, fill);
  return psitest::BuildSection(spec);
}

// A unit-start payload: pointer_field, then the bytes.
Bytes Start(uint8_t pointer, const Bytes& bytes) { return Concat({Bytes{pointer}, bytes}); }

std::vector<Bytes> Delivered(const SectionCollector& c) {
  std::vector<Bytes> out;
  for (const auto& s : c.sections) out.push_back(s.bytes);
  return out;
}

}  // namespace

TEST(PsiSectionSplitter, LongSectionOverSixPacketsIsDeliveredOnceAtTheEnd) {
  const Bytes section = Section(0x02, 1021 - 12);
  ASSERT_EQ(section.size(), 1021u);
  SectionCollector c({kPid});
  c.Push(MakePacket(kPid, true, Start(0, Slice(section, 0, 183))));
  for (size_t from = 183; from < 1021; from += 184) {
    EXPECT_TRUE(c.sections.empty());
    c.Push(MakePacket(kPid, false, Slice(section, from, 184)));
  }
  EXPECT_EQ(Delivered(c), std::vector<Bytes>{section});
  EXPECT_EQ(c.sections[0].pid, kPid);
  EXPECT_EQ(c.sections[0].tableId, 0x02);
}

TEST(PsiSectionSplitter, EverySectionOfAPacketIsDeliveredUpToStuffing) {
  const Bytes a = Section(0x00, 4), b = Section(0x42, 20), d = Section(0x4E, 2);
  SectionCollector c({kPid});
  c.Push(MakePacket(kPid, true, Start(0, Concat({a, b, d}))));
  EXPECT_EQ(Delivered(c), (std::vector<Bytes>{a, b, d}));
}

TEST(PsiSectionSplitter, SectionEndingInTheNextUnitStartIsKeptAndTheNewOneAssembled) {
  const Bytes first = Section(0x42, 400);
  const Bytes second = Section(0x42, 30, 0x22);
  SectionCollector c({kPid});
  c.Push(MakePacket(kPid, true, Start(0, Slice(first, 0, 183))));
  c.Push(MakePacket(kPid, false, Slice(first, 183, 184)));
  const Bytes rest = Slice(first, 367, 100);
  ASSERT_EQ(rest.size(), first.size() - 367);
  c.Push(MakePacket(kPid, true, Concat({Bytes{static_cast<uint8_t>(rest.size())}, rest, second})));
  EXPECT_EQ(Delivered(c), (std::vector<Bytes>{first, second}));
}

TEST(PsiSectionSplitter, SectionContinuingIntoFollowingPacketsAfterAnotherInTheSamePacket) {
  const Bytes small = Section(0x00, 4), big = Section(0x02, 300);
  SectionCollector c({kPid});
  const Bytes payload = Concat({Start(0, small), big});
  c.Push(MakePacket(kPid, true, Slice(payload, 0, 184)));
  ASSERT_LT(payload.size(), 2u * 184);
  c.Push(MakePacket(kPid, false, Slice(payload, 184, 184)));
  EXPECT_EQ(Delivered(c), (std::vector<Bytes>{small, big}));
}

TEST(PsiSectionSplitter, SectionHeaderSplitAcrossPacketsIsAssembled) {
  const Bytes filler = Section(0x00, 182 - 12);  // leaves room for the table_id only
  const Bytes second = Section(0x42, 50);
  SectionCollector c({kPid});
  c.Push(MakePacket(kPid, true, Concat({Start(0, filler), Slice(second, 0, 1)})));
  c.Push(MakePacket(kPid, false, Slice(second, 1, 184)));
  EXPECT_EQ(Delivered(c), (std::vector<Bytes>{filler, second}));
}

TEST(PsiSectionSplitter, IncompleteSectionIsDroppedWhenTheNextUnitStarts) {
  const Bytes lost = Section(0x42, 400), next = Section(0x42, 10);
  SectionCollector c({kPid});
  c.Push(MakePacket(kPid, true, Start(0, Slice(lost, 0, 183))));
  c.Push(MakePacket(kPid, true, Start(0, next)));
  EXPECT_EQ(Delivered(c), std::vector<Bytes>{next});
}

TEST(PsiSectionSplitter, IgnoredPackets) {
  const Bytes section = Section(0x00, 4);
  SectionCollector c({kPid});
  Bytes damaged = MakePacket(kPid, true, Start(0, section));
  damaged[1] |= 0x80;  // transport_error_indicator
  c.Push(damaged);
  c.Push(MakePacket(kPid + 1, true, Start(0, section)));        // not registered
  c.Push(MakePacket(kPid, false, section));                     // continuation while idle
  c.Push(MakePacket(kPid, true, Start(184, section)));          // pointer beyond the payload
  Bytes adaptationOnly = MakePacket(kPid, true, Start(0, section));
  adaptationOnly[3] = 0x20;
  c.Push(adaptationOnly);
  EXPECT_TRUE(c.sections.empty());
}

TEST(PsiSectionSplitter, InvalidSectionsAreDroppedAndTheNextIsStillFound) {
  Bytes broken = Section(0x00, 4);
  broken[9] ^= 1;  // CRC no longer matches
  const Bytes good = Section(0x02, 8);
  SectionCollector c({kPid});
  c.Push(MakePacket(kPid, true, Start(0, Concat({broken, good}))));
  EXPECT_EQ(Delivered(c), std::vector<Bytes>{good});
}

TEST(PsiSectionSplitter, ClearPidsStopsAssembly) {
  const Bytes section = Section(0x00, 4);
  SectionCollector c({kPid});
  c.ClearPids();
  c.Push(MakePacket(kPid, true, Start(0, section)));
  EXPECT_TRUE(c.sections.empty());
  c.AddPid(kPid);
  c.Push(MakePacket(kPid, true, Start(0, section)));
  EXPECT_EQ(c.sections.size(), 1u);
}
