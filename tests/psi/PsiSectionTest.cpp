#include "psi/ts/PsiSection.h"

#include <gtest/gtest.h>

#include <vector>

#include "psi/SectionBuilder.h"

using psitest::BuildSection;
using psitest::SectionSpec;

namespace {

std::vector<uint8_t> WithBodySize(uint8_t tableId, size_t bodySize) {
  SectionSpec spec;
  spec.tableId = tableId;
  spec.body.assign(bodySize, 0x5A);
  return BuildSection(spec);
}

std::vector<uint8_t> FlipBit(std::vector<uint8_t> bytes, size_t index) {
  bytes[index] ^= 0x01;
  return bytes;
}

// Short-form section (no syntax indicator) padded to 12 bytes.
std::vector<uint8_t> ShortForm(uint8_t tableId, bool syntax) {
  return {tableId, static_cast<uint8_t>(syntax ? 0xF0 : 0x70), 0x05, 0xE8, 0x9B, 0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF, 0xFF};
}

struct SectionCase {
  const char* name;
  std::vector<uint8_t> bytes;
  bool valid;
};

std::vector<SectionCase> Cases() {
  const std::vector<uint8_t> pat = {0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00,
                                    0x00, 0x01, 0xE1, 0x00, 0xE8, 0xF9, 0x5E, 0x7D};
  SectionSpec next;
  next.current = false;
  SectionSpec misnumbered;
  misnumbered.tableId = 0x42;
  misnumbered.sectionNumber = 2;
  misnumbered.lastSectionNumber = 1;
  std::vector<uint8_t> tooShort = pat;
  tooShort[2] = 0x04;
  SectionSpec shortForm;
  shortForm.tableId = 0x02;
  std::vector<uint8_t> noSyntax = BuildSection(shortForm);
  noSyntax[1] &= 0x7F;
  return {
      {"known PAT", pat, true},
      {"PAT flipped bit in payload", FlipBit(pat, 9), false},
      {"PAT flipped bit in CRC", FlipBit(pat, 15), false},
      {"next version (current_next 0)", BuildSection(next), false},
      {"TDT without syntax indicator, no CRC", ShortForm(0x70, false), true},
      {"TDT with syntax indicator", ShortForm(0x70, true), false},
      {"RST without CRC", ShortForm(0x71, false), true},
      {"ST, syntax not checked", ShortForm(0x72, true), true},
      {"TOT needs its CRC", ShortForm(0x73, false), false},
      {"EIT at 4093", WithBodySize(0x4E, 4084), true},
      {"EIT schedule at 4093", WithBodySize(0x6F, 4084), true},
      {"ETT at 4093", WithBodySize(0xCC, 4084), true},
      {"EIT above 4093", WithBodySize(0x4E, 4085), false},
      {"PMT at 1021", WithBodySize(0x02, 1012), true},
      {"PMT at 1022", WithBodySize(0x02, 1013), false},
      {"section_length 4", tooShort, false},
      {"section_number above last", BuildSection(misnumbered), false},
      {"long form without syntax indicator", noSyntax, false},
  };
}

}  // namespace

TEST(PsiSection, ValidityRules) {
  for (const SectionCase& c : Cases()) {
    CPsiSection section;
    EXPECT_EQ(section.Parse(c.bytes.data(), static_cast<uint32_t>(c.bytes.size())), c.valid) << c.name;
  }
}

TEST(PsiSection, DecodesHeaderFields) {
  SectionSpec spec;
  spec.tableId = 0x42;
  spec.version = 17;
  spec.sectionNumber = 1;
  spec.lastSectionNumber = 3;
  spec.body = {1, 2, 3};
  const auto bytes = BuildSection(spec);
  CPsiSection s;
  ASSERT_TRUE(s.Parse(bytes.data(), static_cast<uint32_t>(bytes.size())));
  EXPECT_EQ(s.table_id, 0x42);
  EXPECT_TRUE(s.section_syntax_indicator);
  EXPECT_EQ(s.section_length, 12);
  EXPECT_EQ(s.total_length, 15u);
  EXPECT_EQ(s.version_number, 17u);
  EXPECT_TRUE(s.current_next_indicator);
  EXPECT_EQ(s.section_number, 1);
  EXPECT_EQ(s.last_section_number, 3);
  EXPECT_EQ(s.data, bytes.data());
}

TEST(PsiSection, RejectsMissingOrTruncatedDataAndClearsFields) {
  SectionSpec spec;
  spec.body.assign(20, 0);
  const auto bytes = BuildSection(spec);
  CPsiSection s;
  ASSERT_TRUE(s.Parse(bytes.data(), static_cast<uint32_t>(bytes.size())));
  EXPECT_FALSE(s.Parse(nullptr, 100));
  EXPECT_EQ(s.total_length, 0u);
  EXPECT_EQ(s.data, nullptr);
  EXPECT_FALSE(s.Parse(bytes.data(), 11));
  // The CRC would have to read past the bytes handed in.
  EXPECT_FALSE(s.Parse(bytes.data(), static_cast<uint32_t>(bytes.size() - 1)));
  // Bytes behind the section are ignored.
  std::vector<uint8_t> padded = bytes;
  padded.insert(padded.end(), 50, 0xFF);
  EXPECT_TRUE(s.Parse(padded.data(), static_cast<uint32_t>(padded.size())));
}
