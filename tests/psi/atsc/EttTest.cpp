#include "psi/atsc/Ett.h"

#include <gtest/gtest.h>

#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"

using psitest::Bytes;
using psitest::Concat;

namespace {

Bytes EttSection(uint32_t etmId, const Bytes& text) {
  psitest::SectionSpec spec;
  spec.tableId = 0xCC;
  spec.extension = 0;
  spec.body = Concat({{0x00, uint8_t(etmId >> 24), uint8_t(etmId >> 16), uint8_t(etmId >> 8), uint8_t(etmId)}, text});
  return psitest::BuildSection(spec);
}

}  // namespace

TEST(CEtt, KeepsTheEtmIdAndTheRawText) {
  const uint32_t etmId = (3u << 16) | (1u << 2) | 2;
  const Bytes text = {0x01, 'e', 'n', 'g', 0x01, 0x00, 0x00, 0x02, 'H', 'i'};
  const Bytes bytes = EttSection(etmId, text);
  CEtt ett;
  ASSERT_TRUE(ett.AddSection(bytes.data(), bytes.size(), 0x1E00, 0xCC));
  EXPECT_TRUE(ett.IsComplete());
  EXPECT_EQ(ett.etm_id, etmId);
  EXPECT_EQ(ett.etm_id >> 16, 3u);
  EXPECT_EQ((ett.etm_id >> 2) & 0x3FFF, 1u);
  ASSERT_EQ(ett.text.length, text.size());
  EXPECT_EQ(Bytes(ett.text.View().begin(), ett.text.View().end()), text);
  EXPECT_EQ(ett.text.bytes[text.size()], 0);

  ett.Reset();
  EXPECT_EQ(ett.etm_id, 0u);
  EXPECT_EQ(ett.text.length, 0);
  EXPECT_EQ(ett.text.bytes[0], 0);
}

TEST(CEttSection, LongestTextFitsAndTooShortSectionFails) {
  CEttSection section;
  const Bytes longest = EttSection(1, Bytes(4093 - 14, 'x'));
  ASSERT_EQ(longest.size(), 4096u);
  ASSERT_TRUE(section.Parse(longest.data(), longest.size()));
  EXPECT_EQ(section.text.length, 4079);
  EXPECT_EQ(section.text.bytes[4079], 0);

  // section_length 12: below the 14 bytes before the text, so the text length wraps
  psitest::SectionSpec spec;
  spec.tableId = 0xCC;
  spec.body = {0x00, 0x00, 0x01};
  const Bytes shortSection = psitest::BuildSection(spec);
  ASSERT_EQ(shortSection.size(), 15u);
  EXPECT_FALSE(section.Parse(shortSection.data(), shortSection.size()));
}
