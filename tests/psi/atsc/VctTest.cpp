#include "psi/atsc/Vct.h"

#include <gtest/gtest.h>

#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"
#include "psi/descriptors/atsc/ServiceLocationDescriptor.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::Descriptor;

namespace {

// Channel 7.1 "KULX", 8-VSB, program 3, flags: ETM 1, access controlled, hidden, service type 2.
Bytes Channel(uint16_t flags, const Bytes& descriptors) {
  return Concat({{0, 'K', 0, 'U', 0, 'L', 0, 'X', 0, ' ', 0, ' ', 0, ' '},
                 {0xF0, 0x1C, 0x01, 0x04},  // major 7, minor 1, modulation 4
                 {0x1F, 0xC3, 0x2C, 0x40},  // carrier_frequency
                 {0x1F, 0xE1, 0x00, 0x03, uint8_t(flags >> 8), uint8_t(flags), 0x00, 0x01},
                 {uint8_t(0xFC | (descriptors.size() >> 8)), uint8_t(descriptors.size())},
                 descriptors});
}

Bytes VctSection(uint8_t count, const Bytes& channels, const Bytes& additional) {
  psitest::SectionSpec spec;
  spec.tableId = 0xC8;
  spec.extension = 0x1FE1;
  spec.body = Concat({{0x00, count}, channels, {uint8_t(0xFC | (additional.size() >> 8)), uint8_t(additional.size())},
                      additional});
  return psitest::BuildSection(spec);
}

const Bytes kServiceLocation = Descriptor(0xA1, {0xE0, 0x31, 0x01, 0x02, 0xE0, 0x31, 0, 0, 0});

}  // namespace

TEST(CVct, ReadsChannelsWithTheirDescriptors) {
  const Bytes bytes = VctSection(1, Channel(0x7C02, kServiceLocation), Descriptor(0xA0, {0x00}));
  CVct vct;
  ASSERT_TRUE(vct.AddSection(bytes.data(), bytes.size(), 0x1FFB, 0xC8));
  EXPECT_TRUE(vct.IsComplete());
  EXPECT_EQ(vct.transport_stream_id, 0x1FE1);
  ASSERT_EQ(vct.channels.size(), 1u);
  const VctChannel& channel = vct.channels[0];
  EXPECT_EQ(channel.short_name[1], 'K');
  EXPECT_EQ(channel.short_name[7], 'X');
  EXPECT_EQ(channel.major_channel_number, 7);
  EXPECT_EQ(channel.minor_channel_number, 1);
  EXPECT_EQ(channel.modulation_mode, 4);
  EXPECT_EQ(channel.carrier_frequency, 0x1FC32C40u);
  EXPECT_EQ(channel.channel_tsid, 0x1FE1);
  EXPECT_EQ(channel.program_number, 3);
  EXPECT_EQ(channel.access_controlled, 1);
  EXPECT_EQ(channel.service_type, 2);
  EXPECT_EQ(channel.source_id, 1);
  ASSERT_EQ(channel.descriptors.Count(), 1u);
  const auto location = std::dynamic_pointer_cast<const CServiceLocationDescriptor>(channel.descriptors.Get(0));
  ASSERT_TRUE(location);
  EXPECT_EQ(location->pcr_pid, 0x31);
  ASSERT_EQ(vct.descriptors.Count(), 1u);
  EXPECT_EQ(vct.descriptors.Get(0)->tag, 0xA0);

  vct.Reset();
  EXPECT_EQ(vct.transport_stream_id, 0xFFFF);
  EXPECT_TRUE(vct.channels.empty());
  EXPECT_EQ(vct.descriptors.Count(), 0u);
}

TEST(CVctSection, AccessControlledIsTheOnlyFlagKept) {
  const struct {
    uint16_t flags;
    uint8_t accessControlled, serviceType;
  } cases[] = {{0x0002, 0, 2}, {0x2002, 1, 2}, {0xDFC3, 0, 3}, {0xFFFF, 1, 0x3F}};
  for (const auto& c : cases) {
    const Bytes bytes = VctSection(1, Channel(c.flags, {}), {});
    CVctSection section;
    ASSERT_TRUE(section.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(section.channels.at(0).access_controlled, c.accessControlled) << std::hex << c.flags;
    EXPECT_EQ(section.channels.at(0).service_type, c.serviceType) << std::hex << c.flags;
  }
}

TEST(CVctSection, MoreChannelsAnnouncedThanPresentFails) {
  const Bytes bytes = VctSection(2, Channel(0x0002, {}), {});
  CVctSection section;
  EXPECT_FALSE(section.Parse(bytes.data(), bytes.size()));
}
