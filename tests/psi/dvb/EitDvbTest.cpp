#include "psi/dvb/EitDvb.h"

#include <gtest/gtest.h>

#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"
#include "psi/descriptors/dvb/ShortEventDescriptor.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::Descriptor;

namespace {

Bytes Event(uint16_t id, const Bytes& descriptors) {
  const uint16_t word = uint16_t(0x8000 | descriptors.size());  // running
  return Concat({{uint8_t(id >> 8), uint8_t(id), 0xC0, 0x79, 0x12, 0x45, 0x00, 0x01, 0x45, 0x30, uint8_t(word >> 8),
                  uint8_t(word)},
                 descriptors});
}

Bytes EitSection(uint16_t serviceId, uint16_t tsid, uint16_t onid, const Bytes& events, uint8_t number = 0,
                 uint8_t last = 0) {
  psitest::SectionSpec spec;
  spec.tableId = 0x4E;
  spec.extension = serviceId;
  spec.sectionNumber = number;
  spec.lastSectionNumber = last;
  spec.body = Concat({{uint8_t(tsid >> 8), uint8_t(tsid), uint8_t(onid >> 8), uint8_t(onid), last, 0x4E}, events});
  return psitest::BuildSection(spec);
}

const Bytes kShortEvent = Descriptor(0x4D, {'f', 'r', 'e', 3, 'R', 'e', 'x', 0});

}  // namespace

TEST(CEitDvb, EventsOfOneServiceFormOneSubtable) {
  const Bytes present = EitSection(0x0111, 1, 0x20FA, Event(30, kShortEvent), 0, 1);
  const Bytes following = EitSection(0x0111, 1, 0x20FA, Event(31, {}), 1, 1);
  const Bytes other = EitSection(0x0105, 1, 0x20FA, Event(22, {}), 0, 1);
  CEitDvb eit;
  ASSERT_TRUE(eit.AddSection(present.data(), present.size(), 0x12, 0x4E));
  ASSERT_TRUE(eit.AddSection(other.data(), other.size(), 0x12, 0x4E));
  ASSERT_TRUE(eit.AddSection(following.data(), following.size(), 0x12, 0x4E));
  EXPECT_FALSE(eit.IsComplete());  // service 0x0105 lacks section 1

  const auto& subtables = eit.GetSubtables();
  ASSERT_EQ(subtables.size(), 2u);
  EXPECT_EQ(subtables.begin()->first, (EitDvbKey{0x20FA, 1, 0x0105}));
  const CEitDvbSubtable& service = *subtables.at({0x20FA, 1, 0x0111});
  EXPECT_TRUE(service.IsComplete());
  EXPECT_EQ(service.service_id, 0x0111);
  EXPECT_EQ(service.transport_stream_id, 1);
  EXPECT_EQ(service.original_network_id, 0x20FA);
  ASSERT_EQ(service.events.size(), 2u);
  const EitDvbEvent& event = service.events[0];
  EXPECT_EQ(event.event_id, 30);
  EXPECT_EQ(event.start_time, (std::array<uint8_t, 5>{0xC0, 0x79, 0x12, 0x45, 0x00}));
  EXPECT_EQ(event.duration, (std::array<uint8_t, 3>{0x01, 0x45, 0x30}));
  EXPECT_EQ(event.running_status, 4);
  EXPECT_EQ(event.free_ca_mode, 0);
  ASSERT_EQ(event.descriptors.Count(), 1u);
  EXPECT_TRUE(std::dynamic_pointer_cast<const CShortEventDescriptor>(event.descriptors.Get(0)));
  EXPECT_EQ(service.events[1].event_id, 31);
}

TEST(CEitDvb, TruncatedLastEventFailsTheWholeSection) {
  Bytes events = Concat({Event(1, {}), Event(2, {})});
  events.resize(events.size() - 3);
  const Bytes bytes = EitSection(0x0111, 1, 0x20FA, events);
  CEitDvbSection section;
  EXPECT_FALSE(section.Parse(bytes.data(), bytes.size()));
  CEitDvb eit;
  EXPECT_FALSE(eit.AddSection(bytes.data(), bytes.size(), 0x12, 0x4E));
  EXPECT_TRUE(eit.GetSubtables().empty());
}
