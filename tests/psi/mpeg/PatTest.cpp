#include "psi/mpeg/Pat.h"

#include <gtest/gtest.h>

#include "psi/SectionBuilder.h"

using psitest::BuildSection;
using psitest::SectionSpec;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes PatSection(const Bytes& loop, uint8_t number = 0, uint8_t last = 0, uint16_t tsid = 1) {
  SectionSpec spec;
  spec.tableId = 0x00;
  spec.extension = tsid;
  spec.sectionNumber = number;
  spec.lastSectionNumber = last;
  spec.body = loop;
  return BuildSection(spec);
}

}  // namespace

TEST(CPatSection, SpareBytesAfterTheLastWholeProgramAreIgnored) {
  const struct {
    Bytes loop;
    uint16_t sectionLength;
  } cases[] = {{{0x00, 0x01, 0xE1, 0x00}, 13}, {{0x00, 0x01, 0xE1, 0x00, 0xAB, 0xCD}, 15}};
  for (const auto& c : cases) {
    const Bytes bytes = PatSection(c.loop);
    CPatSection section;
    ASSERT_TRUE(section.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(section.section_length, c.sectionLength);
    ASSERT_EQ(section.programs.size(), 1u);
    EXPECT_EQ(section.programs[0].program_number, 1);
    EXPECT_EQ(section.programs[0].pid, 0x100);
  }
}

TEST(CPatSection, NetworkEntryIsKeptAndPidsAreMasked) {
  const Bytes bytes = PatSection({0x00, 0x00, 0xE0, 0x10, 0x00, 0x01, 0xE1, 0x00}, 0, 0, 0x1234);
  CPatSection section;
  ASSERT_TRUE(section.Parse(bytes.data(), bytes.size()));
  EXPECT_EQ(section.transport_stream_id, 0x1234);
  ASSERT_EQ(section.programs.size(), 2u);
  EXPECT_EQ(section.programs[0].program_number, 0);
  EXPECT_EQ(section.programs[0].pid, 0x0010);
  EXPECT_EQ(section.programs[1].program_number, 1);
  EXPECT_EQ(section.programs[1].pid, 0x0100);
}

TEST(CPatSection, InvalidSectionFails) {
  Bytes bytes = PatSection({0x00, 0x01, 0xE1, 0x00});
  bytes[10] ^= 0x01;  // CRC no longer matches
  CPatSection section;
  EXPECT_FALSE(section.Parse(bytes.data(), bytes.size()));
  EXPECT_TRUE(section.programs.empty());
  EXPECT_EQ(section.transport_stream_id, 0xFFFF);
}

TEST(CPat, MergesSectionsInArrivalOrderAndResets) {
  const Bytes first = PatSection({0x00, 0x01, 0xE1, 0x00}, 0, 1, 7);
  const Bytes second = PatSection({0x00, 0x02, 0xE2, 0x00}, 1, 1, 7);
  CPat pat;
  EXPECT_TRUE(pat.AddSection(second.data(), second.size(), 0, 0));
  EXPECT_FALSE(pat.IsComplete());
  EXPECT_TRUE(pat.AddSection(first.data(), first.size(), 0, 0));
  EXPECT_TRUE(pat.IsComplete());
  EXPECT_EQ(pat.transport_stream_id, 7);
  ASSERT_EQ(pat.programs.size(), 2u);
  EXPECT_EQ(pat.programs[0].program_number, 2);
  EXPECT_EQ(pat.programs[1].program_number, 1);

  pat.Reset();
  EXPECT_EQ(pat.transport_stream_id, 0xFFFF);
  EXPECT_TRUE(pat.programs.empty());
  EXPECT_FALSE(pat.IsComplete());
}
