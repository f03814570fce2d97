#include "psi/atsc/EitAtsc.h"

#include <gtest/gtest.h>

#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"
#include "psi/descriptors/atsc/ContentAdvisoryDescriptor.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::Descriptor;

namespace {

const Bytes kTitle = {0x01, 'e', 'n', 'g', 0x01, 0x00, 0x00, 0x04, 'N', 'e', 'w', 's'};

Bytes Event(uint16_t id, const Bytes& title, const Bytes& descriptors) {
  return Concat({{uint8_t(0xC0 | (id >> 8)), uint8_t(id)},
                 {0x49, 0xB8, 0xE8, 0x87},                               // start_time
                 {0xD0, 0x0E, 0x10, uint8_t(title.size())},             // ETM 1, 3600 s
                 title,
                 {uint8_t(0xF0 | (descriptors.size() >> 8)), uint8_t(descriptors.size())},
                 descriptors});
}

Bytes EitSection(uint16_t sourceId, uint8_t count, const Bytes& events) {
  psitest::SectionSpec spec;
  spec.tableId = 0xCB;
  spec.extension = sourceId;
  spec.body = Concat({{0x00, count}, events});
  return psitest::BuildSection(spec);
}

}  // namespace

TEST(CEitAtsc, ReadsEventsWithRawTitles) {
  const Bytes bytes = EitSection(
      3, 2, Concat({Event(0x3FFF, kTitle, Descriptor(0x87, {0xC1, 0x01, 0x01, 0x00, 0xF3, 0x00})), Event(2, {}, {})}));
  CEitAtsc eit;
  ASSERT_TRUE(eit.AddSection(bytes.data(), bytes.size(), 0x1D00, 0xCB));
  EXPECT_TRUE(eit.IsComplete());
  EXPECT_EQ(eit.source_id, 3);
  ASSERT_EQ(eit.events.size(), 2u);
  const EitAtscEvent& event = eit.events[0];
  EXPECT_EQ(event.event_id, 0x3FFF);
  EXPECT_EQ(event.start_time, 0x49B8E887u);
  EXPECT_EQ(event.etm_location, 1);
  EXPECT_EQ(event.length_in_seconds, 3600u);
  ASSERT_EQ(event.title.length, kTitle.size());
  EXPECT_EQ(Bytes(event.title.View().begin(), event.title.View().end()), kTitle);
  EXPECT_EQ(event.title.bytes[kTitle.size()], 0);
  ASSERT_EQ(event.descriptors.Count(), 1u);
  EXPECT_TRUE(std::dynamic_pointer_cast<const CContentAdvisoryDescriptor>(event.descriptors.Get(0)));
  EXPECT_EQ(eit.events[1].title.length, 0);

  eit.Reset();
  EXPECT_EQ(eit.source_id, 0xFFFF);
  EXPECT_TRUE(eit.events.empty());
}

TEST(CEitAtscSection, TitleLengthPastTheSectionFails) {
  Bytes event = Event(1, kTitle, {});
  event[9] = 0xF0;
  const Bytes bytes = EitSection(3, 1, event);
  CEitAtscSection section;
  EXPECT_FALSE(section.Parse(bytes.data(), bytes.size()));
}
