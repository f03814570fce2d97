#include "psi/descriptors/DescriptorFactory.h"

#include <gtest/gtest.h>

#include <typeindex>

#include "psi/DescriptorBytes.h"
#include "psi/TsTestSupport.h"
#include "psi/descriptors/Descriptors.h"
#include "psi/descriptors/atsc/Ac3AudioAtscDescriptor.h"
#include "psi/descriptors/atsc/CaptionServiceDescriptor.h"
#include "psi/descriptors/atsc/ComponentNameDescriptor.h"
#include "psi/descriptors/atsc/ContentAdvisoryDescriptor.h"
#include "psi/descriptors/atsc/ServiceLocationDescriptor.h"
#include "psi/descriptors/dvb/Ac3AudioDvbDescriptor.h"
#include "psi/descriptors/dvb/BouquetNameDescriptor.h"
#include "psi/descriptors/dvb/CableDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/ComponentDescriptor.h"
#include "psi/descriptors/dvb/ContentDescriptor.h"
#include "psi/descriptors/dvb/DvbS2SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/ExtendedEventDescriptor.h"
#include "psi/descriptors/dvb/LinkageDescriptor.h"
#include "psi/descriptors/dvb/LocalTimeOffsetDescriptor.h"
#include "psi/descriptors/dvb/NetworkNameDescriptor.h"
#include "psi/descriptors/dvb/ParentalRating.h"
#include "psi/descriptors/dvb/PdcDescriptor.h"
#include "psi/descriptors/dvb/SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/ServiceDescriptor.h"
#include "psi/descriptors/dvb/ServiceListDescriptor.h"
#include "psi/descriptors/dvb/ShortEventDescriptor.h"
#include "psi/descriptors/dvb/SubtitlingDescriptor.h"
#include "psi/descriptors/dvb/TeletextDescriptor.h"
#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"
#include "psi/descriptors/mpeg/ConditionalAccessDescriptor.h"
#include "psi/descriptors/mpeg/Iso639LanguageDescriptor.h"

using psitest::Descriptor;
using psitest::ParseDescriptor;

namespace {

using Bytes = std::vector<uint8_t>;

struct FactoryCase {
  uint8_t tag;
  size_t bodySize;  // zero bytes: the smallest body every class accepts
  std::type_index dvb, atsc, mpeg;
};

const std::type_index kGeneric = typeid(CDescriptor);

const FactoryCase kFactoryCases[] = {
    {0x09, 4, typeid(CConditionalAccessDescriptor), typeid(CConditionalAccessDescriptor), kGeneric},
    {0x0A, 0, typeid(CIso639LanguageDescriptor), typeid(CIso639LanguageDescriptor), typeid(CIso639LanguageDescriptor)},
    {0x40, 0, typeid(CNetworkNameDescriptor), kGeneric, kGeneric},
    {0x41, 0, typeid(CServiceListDescriptor), kGeneric, kGeneric},
    {0x43, 11, typeid(CSatelliteDeliverySystemDescriptor), kGeneric, kGeneric},
    {0x44, 11, typeid(CCableDeliverySystemDescriptor), kGeneric, kGeneric},
    {0x47, 0, typeid(CBouquetNameDescriptor), kGeneric, kGeneric},
    {0x48, 3, typeid(CServiceDescriptor), kGeneric, kGeneric},
    {0x4A, 6, typeid(CLinkageDescriptor), kGeneric, kGeneric},
    {0x4D, 5, typeid(CShortEventDescriptor), kGeneric, kGeneric},
    {0x4E, 6, typeid(CExtendedEventDescriptor), kGeneric, kGeneric},
    {0x50, 6, typeid(CComponentDescriptor), kGeneric, kGeneric},
    {0x54, 0, typeid(CContentDescriptor), kGeneric, kGeneric},
    {0x55, 0, typeid(CParentalRating), kGeneric, kGeneric},
    {0x56, 0, typeid(CTeletextDescriptor), kGeneric, kGeneric},
    {0x58, 0, typeid(CLocalTimeOffsetDescriptor), kGeneric, kGeneric},
    {0x59, 0, typeid(CSubtitlingDescriptor), kGeneric, kGeneric},
    {0x5A, 11, typeid(CTerrestrialDeliverySystemDescriptor), kGeneric, kGeneric},
    {0x69, 3, typeid(CPdcDescriptor), kGeneric, kGeneric},
    {0x6A, 0, typeid(CAc3AudioDvbDescriptor), kGeneric, kGeneric},
    {0x79, 1, typeid(CDvbS2SatelliteDeliverySystemDescriptor), kGeneric, kGeneric},
    {0x81, 3, kGeneric, typeid(CAc3AudioAtscDescriptor), kGeneric},
    {0x86, 1, kGeneric, typeid(CCaptionServiceDescriptor), kGeneric},
    {0x87, 1, kGeneric, typeid(CContentAdvisoryDescriptor), kGeneric},
    {0xA1, 3, kGeneric, typeid(CServiceLocationDescriptor), kGeneric},
    {0xA3, 0, kGeneric, typeid(CComponentNameDescriptor), kGeneric},
    {0x52, 1, kGeneric, kGeneric, kGeneric},
};

}  // namespace

TEST(CreateDescriptor, ClassDependsOnTagAndContext) {
  for (const FactoryCase& c : kFactoryCases) {
    const Bytes bytes = Descriptor(c.tag, Bytes(c.bodySize, 0));
    const std::pair<DescriptorContext, std::type_index> expected[] = {
        {DescriptorContext_Dvb, c.dvb}, {DescriptorContext_Atsc, c.atsc}, {DescriptorContext_Mpeg, c.mpeg}};
    for (const auto& [context, type] : expected) {
      CPsiStream reader(bytes.data(), bytes.size());
      uint32_t consumed = 0;
      const auto descriptor = CreateDescriptor(reader, consumed, context);
      ASSERT_TRUE(descriptor) << "tag " << int(c.tag) << " context " << context;
      EXPECT_EQ(std::type_index(typeid(*descriptor)), type) << "tag " << int(c.tag) << " context " << context;
      EXPECT_EQ(descriptor->tag, c.tag);
      EXPECT_EQ(descriptor->length, c.bodySize);
      EXPECT_EQ(consumed, c.bodySize + 2);
      EXPECT_EQ(reader.Remaining(), 0u);
    }
  }
}

TEST(CreateDescriptor, UnknownContextConsumesTheDescriptorAndYieldsNothing) {
  const Bytes bytes = Descriptor(0x48, {1, 0, 0});
  CPsiStream reader(bytes.data(), bytes.size());
  uint32_t consumed = 0;
  EXPECT_FALSE(CreateDescriptor(reader, consumed, static_cast<DescriptorContext>(3)));
  EXPECT_EQ(consumed, 5u);
  EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(CreateDescriptor, EndOfDataYieldsNothingAndLeavesConsumedAlone) {
  CPsiStream reader(nullptr, 0);
  uint32_t consumed = 77;
  EXPECT_FALSE(CreateDescriptor(reader, consumed, DescriptorContext_Dvb));
  EXPECT_EQ(consumed, 77u);
}

TEST(CreateDescriptor, CutShortDescriptorThrows) {
  const Bytes cases[] = {
      {0x48},                    // a tag without its length
      {0x52, 2, 0x01},           // length past the data
      Descriptor(0x48, {1, 5}),  // body shorter than the class reads
      Descriptor(0x56, Bytes(7, 0)),
  };
  for (const Bytes& bytes : cases) EXPECT_THROW(ParseDescriptor(bytes), CPsiStreamException) << bytes.size();
}

TEST(CDescriptors, LoopEndsWithTheDataAndKeepsLoopOrder) {
  Bytes bytes = Descriptor(0x52, {1});
  const Bytes second = Descriptor(0x0A, {'f', 'r', 'e', 0});
  bytes.insert(bytes.end(), second.begin(), second.end());
  CPsiStream reader(bytes.data(), bytes.size());
  CDescriptors loop;
  loop.ParseLoop(reader, 100, DescriptorContext_Dvb);
  ASSERT_EQ(loop.Count(), 2u);
  EXPECT_EQ(loop.Get(0)->tag, 0x52);
  EXPECT_EQ(loop.Get(1)->tag, 0x0A);
  EXPECT_FALSE(loop.Get(2));
}

TEST(CDescriptors, LoopStopsAtItsLength) {
  Bytes bytes = Descriptor(0x52, {1});
  bytes.push_back(0xEE);  // not part of the loop
  CPsiStream reader(bytes.data(), bytes.size());
  CDescriptors loop;
  loop.ParseLoop(reader, 3, DescriptorContext_Dvb);
  EXPECT_EQ(loop.Count(), 1u);
  EXPECT_EQ(reader.Remaining(), 1u);
}

// Taking a loop reads tags and lengths only: a body shorter than its class
// reads costs that descriptor alone, when it is read, and not its neighbours.
TEST(CDescriptors, BodiesAreDecodedOnFirstUseAndKept) {
  struct Case {
    const char* what;
    Bytes descriptor;
    bool decodes;
  };
  const Case cases[] = {
      {"service descriptor", Descriptor(0x48, {0x01, 0x00, 0x01, 'A'}), true},
      {"service name past the body", Descriptor(0x48, {0x01, 0x00, 0x05, 'A'}), false},
      {"teletext entry cut in half", Descriptor(0x56, Bytes(7, 0)), false},
      {"tag the factory does not decode", Descriptor(0xEE, {1, 2, 3}), true},
  };
  const Bytes language = Descriptor(0x0A, {'f', 'r', 'e', 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes bytes = psitest::Concat({language, c.descriptor, language});
    CPsiStream reader(bytes.data(), bytes.size());
    CDescriptors loop;
    ASSERT_NO_THROW(loop.ParseLoop(reader, static_cast<uint32_t>(bytes.size()), DescriptorContext_Dvb));
    ASSERT_EQ(loop.Count(), 3u);
    const CDescriptorEntry& middle = *std::next(loop.begin());
    EXPECT_EQ(middle.tag, c.descriptor[0]);
    EXPECT_EQ(middle.length, c.descriptor[1]);
    EXPECT_EQ(static_cast<bool>(middle.Decoded()), c.decodes);
    EXPECT_EQ(middle.Decoded(), loop.Get(1)) << "decoded once";
    for (size_t index : {0u, 2u}) {
      const auto* iso = dynamic_cast<const CIso639LanguageDescriptor*>(loop.Get(index).get());
      ASSERT_NE(iso, nullptr) << index;
      EXPECT_EQ(iso->entries.at(0).language_code, (LanguageCode{'f', 'r', 'e'}));
    }
  }
}

TEST(CDescriptors, AppendSharesTheDescriptors) {
  const Bytes bytes = Descriptor(0x52, {1});
  CPsiStream reader(bytes.data(), bytes.size());
  CDescriptors first, second;
  first.ParseLoop(reader, 3, DescriptorContext_Dvb);
  second.Append(first);
  second.Append(first);
  ASSERT_EQ(second.Count(), 2u);
  EXPECT_EQ(second.Get(0), first.Get(0));
  EXPECT_EQ(second.Get(1), first.Get(0));
}
