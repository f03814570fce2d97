#include "psi/dvb/Nit.h"

#include <gtest/gtest.h>

#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"
#include "psi/descriptors/dvb/NetworkNameDescriptor.h"
#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::Descriptor;

namespace {

Bytes Loop(const Bytes& content) {
  return Concat({{uint8_t(0xF0 | (content.size() >> 8)), uint8_t(content.size())}, content});
}

Bytes TransportStream(uint16_t tsid, uint16_t onid, const Bytes& descriptors) {
  return Concat({{uint8_t(tsid >> 8), uint8_t(tsid), uint8_t(onid >> 8), uint8_t(onid)}, Loop(descriptors)});
}

Bytes NitSection(uint16_t networkId, const Bytes& networkDescriptors, const Bytes& streams) {
  psitest::SectionSpec spec;
  spec.tableId = 0x40;
  spec.extension = networkId;
  spec.body = Concat({Loop(networkDescriptors), Loop(streams)});
  return psitest::BuildSection(spec);
}

const Bytes kTerrestrial = Descriptor(0x5A, {0x03, 0x1A, 0x7D, 0xC0, 0x1F, 0, 0, 0, 0, 0, 0});

}  // namespace

TEST(CNit, ReadsNetworkAndTransportStreamLoops) {
  const Bytes bytes = NitSection(
      0x20FA, Descriptor(0x40, {'F'}),
      Concat({TransportStream(1, 0x20FA, kTerrestrial), TransportStream(2, 0x20FA, Concat({kTerrestrial, kTerrestrial}))}));
  CNit nit;
  ASSERT_TRUE(nit.AddSection(bytes.data(), bytes.size(), 0x10, 0x40));
  EXPECT_TRUE(nit.IsComplete());
  ASSERT_EQ(nit.GetSubtables().size(), 1u);
  const CNitSubtable& network = *nit.GetSubtables().at(0x20FA);
  EXPECT_EQ(network.network_id, 0x20FA);
  ASSERT_EQ(network.descriptors.Count(), 1u);
  const auto name = std::dynamic_pointer_cast<const CNetworkNameDescriptor>(network.descriptors.Get(0));
  ASSERT_TRUE(name);
  EXPECT_EQ(name->name.length, 1);
  ASSERT_EQ(network.transport_streams.size(), 2u);
  EXPECT_EQ(network.transport_streams[0].transport_stream_id, 1);
  EXPECT_EQ(network.transport_streams[0].original_network_id, 0x20FA);
  EXPECT_EQ(network.transport_streams[1].descriptors.Count(), 2u);
  const auto delivery =
      std::dynamic_pointer_cast<const CTerrestrialDeliverySystemDescriptor>(network.transport_streams[0].descriptors.Get(0));
  ASSERT_TRUE(delivery);
  EXPECT_EQ(delivery->centre_frequency, 0x031A7DC0u);
}

TEST(CNit, TransportStreamLoopPastTheSectionFails) {
  Bytes streams = TransportStream(1, 0x20FA, kTerrestrial);
  streams[5] += 8;  // transport_descriptors_length beyond the section
  const Bytes bytes = NitSection(0x20FA, {}, streams);
  CNit nit;
  EXPECT_FALSE(nit.AddSection(bytes.data(), bytes.size(), 0x10, 0x40));
  EXPECT_TRUE(nit.GetSubtables().empty());
}
