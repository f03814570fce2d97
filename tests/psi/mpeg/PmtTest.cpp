#include "psi/mpeg/Pmt.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"
#include "psi/descriptors/atsc/Ac3AudioAtscDescriptor.h"
#include "psi/descriptors/dvb/Ac3AudioDvbDescriptor.h"
#include "psi/descriptors/mpeg/ConditionalAccessDescriptor.h"
#include "psi/descriptors/mpeg/Iso639LanguageDescriptor.h"
#include "psi/mpeg/PmtAtsc.h"
#include "psi/mpeg/PmtDvb.h"

using psitest::BuildSection;
using psitest::Bytes;
using psitest::Concat;
using psitest::Descriptor;

namespace {

Bytes Stream(uint8_t type, uint16_t pid, const Bytes& descriptors) {
  return Concat({{type, uint8_t(0xE0 | (pid >> 8)), uint8_t(pid), uint8_t(0xF0 | (descriptors.size() >> 8)),
                  uint8_t(descriptors.size())},
                 descriptors});
}

Bytes PmtSection(uint16_t program, uint16_t pcrPid, const Bytes& programInfo, const Bytes& streams) {
  psitest::SectionSpec spec;
  spec.tableId = 0x02;
  spec.extension = program;
  spec.body = Concat({{uint8_t(0xE0 | (pcrPid >> 8)), uint8_t(pcrPid), uint8_t(0xF0 | (programInfo.size() >> 8)),
                       uint8_t(programInfo.size())},
                      programInfo, streams});
  return BuildSection(spec);
}

const Bytes kVideoAndAudio = PmtSection(
    0x0101, 0x0078, {},
    Concat({Stream(0x02, 0x0078, {}), Stream(0x03, 0x0082, Descriptor(0x0A, {'f', 'r', 'e', 0}))}));

}  // namespace

TEST(CPmt, ReadsStreamsWithTheirDescriptors) {
  CPmtDvb pmt;
  ASSERT_TRUE(pmt.AddSection(kVideoAndAudio.data(), kVideoAndAudio.size(), 0x6E, 0x02));
  EXPECT_TRUE(pmt.IsComplete());
  EXPECT_EQ(pmt.program_number, 0x0101);
  EXPECT_EQ(pmt.pcr_pid, 0x0078);
  EXPECT_EQ(pmt.descriptors.Count(), 0u);
  ASSERT_EQ(pmt.streams.size(), 2u);
  EXPECT_EQ(pmt.streams[0].stream_type, 0x02);
  EXPECT_EQ(pmt.streams[0].elementary_pid, 0x0078);
  EXPECT_EQ(pmt.streams[0].descriptors.Count(), 0u);
  EXPECT_EQ(pmt.streams[1].stream_type, 0x03);
  EXPECT_EQ(pmt.streams[1].elementary_pid, 0x0082);
  ASSERT_EQ(pmt.streams[1].descriptors.Count(), 1u);
  const auto language = std::dynamic_pointer_cast<const CIso639LanguageDescriptor>(pmt.streams[1].descriptors.Get(0));
  ASSERT_TRUE(language);
  EXPECT_EQ(language->entries.at(0).language_code, (LanguageCode{'f', 'r', 'e'}));

  pmt.Reset();
  EXPECT_EQ(pmt.program_number, 0xFFFF);
  EXPECT_EQ(pmt.pcr_pid, 0xFFFF);
  EXPECT_TRUE(pmt.streams.empty());
  EXPECT_FALSE(pmt.IsComplete());
}

TEST(CPmt, DescriptorContextDecidesTheAc3Classes) {
  const Bytes section = PmtSection(
      1, 0x100, Descriptor(0x09, {0x05, 0x00, 0xE1, 0x23}),
      Stream(0x81, 0x101, Concat({Descriptor(0x81, {0x40, 0x38, 0x04}), Descriptor(0x6A, {0x00})})));
  struct {
    CPmt* pmt;
    const std::type_info& tag81;
    const std::type_info& tag6A;
  } cases[] = {{new CPmtDvb, typeid(CDescriptor), typeid(CAc3AudioDvbDescriptor)},
               {new CPmtAtsc, typeid(CAc3AudioAtscDescriptor), typeid(CDescriptor)}};
  for (auto& c : cases) {
    std::unique_ptr<CPmt> pmt(c.pmt);
    ASSERT_TRUE(pmt->AddSection(section.data(), section.size(), 0x100, 0x02));
    ASSERT_EQ(pmt->streams.size(), 1u);
    const CDescriptors& descriptors = pmt->streams[0].descriptors;
    ASSERT_EQ(descriptors.Count(), 2u);
    EXPECT_EQ(typeid(*descriptors.Get(0)), c.tag81);
    EXPECT_EQ(typeid(*descriptors.Get(1)), c.tag6A);
    EXPECT_TRUE(std::dynamic_pointer_cast<const CConditionalAccessDescriptor>(pmt->descriptors.Get(0)));
  }

  CPmtSection mpeg(DescriptorContext_Mpeg);
  ASSERT_TRUE(mpeg.Parse(section.data(), section.size()));
  EXPECT_EQ(typeid(*mpeg.descriptors.Get(0)), typeid(CDescriptor));
  EXPECT_EQ(mpeg.program_number, 1);
}

TEST(CPmt, TruncatedStreamLoopFailsTheSectionAndLeavesTheTable) {
  // ES_info_length claims more descriptor bytes than the section holds.
  Bytes body = Concat({Stream(0x02, 0x0078, {}), {0x03, 0xE0, 0x82, 0xF0, 0x40}});
  const Bytes section = PmtSection(1, 0x78, {}, body);
  CPmtDvb pmt;
  EXPECT_TRUE(pmt.AddSection(section.data(), section.size(), 0x100, 0x02));
  EXPECT_FALSE(pmt.IsComplete());
  EXPECT_TRUE(pmt.streams.empty());
  EXPECT_EQ(pmt.program_number, 0xFFFF);
}
