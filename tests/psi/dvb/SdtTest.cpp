#include "psi/dvb/Sdt.h"

#include <gtest/gtest.h>

#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"
#include "psi/descriptors/dvb/ServiceDescriptor.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::Descriptor;

namespace {

// service_id, EIT flags, running_status 4 / free_CA_mode, descriptors.
Bytes Service(uint16_t id, uint8_t running, bool scrambled, const Bytes& descriptors) {
  const uint16_t word = uint16_t(running << 13 | (scrambled ? 0x1000 : 0) | descriptors.size());
  return Concat({{uint8_t(id >> 8), uint8_t(id), 0xFD, uint8_t(word >> 8), uint8_t(word)}, descriptors});
}

Bytes SdtSection(uint16_t tsid, uint16_t onid, const Bytes& services, uint8_t number = 0, uint8_t last = 0,
                 uint8_t tableId = 0x42) {
  psitest::SectionSpec spec;
  spec.tableId = tableId;
  spec.extension = tsid;
  spec.sectionNumber = number;
  spec.lastSectionNumber = last;
  spec.body = Concat({{uint8_t(onid >> 8), uint8_t(onid), 0xFF}, services});
  return psitest::BuildSection(spec);
}

const Bytes kServiceDescriptor = Descriptor(0x48, {0x01, 0x03, 'G', 'R', '1', 0x02, 'F', '2'});

}  // namespace

TEST(CSdtSection, ReadsServicesAndTheirDescriptors) {
  const Bytes bytes =
      SdtSection(1, 0x20FA, Concat({Service(0x0101, 4, false, {}), Service(0x0104, 1, true, kServiceDescriptor)}));
  CSdtSection section;
  ASSERT_TRUE(section.Parse(bytes.data(), bytes.size()));
  EXPECT_EQ(section.transport_stream_id, 1);
  EXPECT_EQ(section.original_network_id, 0x20FA);
  ASSERT_EQ(section.services.size(), 2u);
  const SdtService& first = section.services[0];
  EXPECT_EQ(first.service_id, 0x0101);
  EXPECT_EQ(first.eit_schedule_flag, 0);
  EXPECT_EQ(first.eit_present_following_flag, 1);
  EXPECT_EQ(first.running_status, 4);
  EXPECT_EQ(first.free_ca_mode, 0);
  EXPECT_EQ(first.descriptors.Count(), 0u);
  const SdtService& second = section.services[1];
  EXPECT_EQ(second.running_status, 1);
  EXPECT_EQ(second.free_ca_mode, 1);
  EXPECT_EQ(second.descriptors_loop_length, kServiceDescriptor.size());
  ASSERT_EQ(second.descriptors.Count(), 1u);
  const auto service = std::dynamic_pointer_cast<const CServiceDescriptor>(second.descriptors.Get(0));
  ASSERT_TRUE(service);
  EXPECT_EQ(service->service_name.length, 2);
}

TEST(CSdtSection, DescriptorLoopPastTheSectionFails) {
  Bytes service = Service(0x0101, 4, false, kServiceDescriptor);
  service[4] += 20;  // descriptors_loop_length beyond the section
  const Bytes bytes = SdtSection(1, 0x20FA, service);
  CSdtSection section;
  EXPECT_FALSE(section.Parse(bytes.data(), bytes.size()));
}

TEST(CSdt, OneSubtablePerTransportStream) {
  const Bytes a0 = SdtSection(1, 0x20FA, Service(0x0101, 4, false, {}), 0, 1);
  const Bytes a1 = SdtSection(1, 0x20FA, Service(0x0102, 4, false, {}), 1, 1);
  const Bytes b0 = SdtSection(2, 0x20FA, Service(0x0201, 4, false, {}), 0, 1, 0x46);
  CSdt sdt;
  EXPECT_FALSE(sdt.IsComplete());
  ASSERT_TRUE(sdt.AddSection(a0.data(), a0.size(), 0x11, 0x42));
  ASSERT_TRUE(sdt.AddSection(a1.data(), a1.size(), 0x11, 0x42));
  EXPECT_TRUE(sdt.IsComplete());
  ASSERT_TRUE(sdt.AddSection(b0.data(), b0.size(), 0x11, 0x46));
  EXPECT_FALSE(sdt.IsComplete());

  const auto& subtables = sdt.GetSubtables();
  ASSERT_EQ(subtables.size(), 2u);
  const CSdtSubtable& a = *subtables.at({0x20FA, 1});
  EXPECT_EQ(a.transport_stream_id, 1);
  EXPECT_EQ(a.original_network_id, 0x20FA);
  ASSERT_EQ(a.services.size(), 2u);
  EXPECT_EQ(a.services[1].service_id, 0x0102);
  EXPECT_EQ(subtables.begin()->first, (SdtKey{0x20FA, 1}));

  Bytes broken = SdtSection(3, 0x20FA, Service(0x0301, 4, false, {}));
  broken.back() ^= 1;
  EXPECT_FALSE(sdt.AddSection(broken.data(), broken.size(), 0x11, 0x46));
  EXPECT_EQ(sdt.GetSubtables().size(), 2u);

  sdt.Clear();
  EXPECT_TRUE(sdt.GetSubtables().empty());
  EXPECT_FALSE(sdt.IsComplete());
}

TEST(CSdtSubtable, ResetForgetsContentAndSections) {
  const Bytes bytes = SdtSection(1, 0x20FA, Service(0x0101, 4, false, {}));
  CSdtSubtable subtable;
  ASSERT_TRUE(subtable.AddSection(bytes.data(), bytes.size(), 0x11, 0x42));
  EXPECT_TRUE(subtable.IsComplete());
  subtable.Reset();
  EXPECT_FALSE(subtable.IsComplete());
  EXPECT_EQ(subtable.transport_stream_id, 0);
  EXPECT_EQ(subtable.original_network_id, 0);
  EXPECT_TRUE(subtable.services.empty());
  ASSERT_TRUE(subtable.AddSection(bytes.data(), bytes.size(), 0x11, 0x42));
  EXPECT_EQ(subtable.services.size(), 1u);
}
