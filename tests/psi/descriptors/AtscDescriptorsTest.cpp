#include <gtest/gtest.h>

#include <optional>

#include "psi/DescriptorBytes.h"
#include "psi/descriptors/atsc/Ac3AudioAtscDescriptor.h"
#include "psi/descriptors/atsc/CaptionServiceDescriptor.h"
#include "psi/descriptors/atsc/ComponentNameDescriptor.h"
#include "psi/descriptors/atsc/ContentAdvisoryDescriptor.h"
#include "psi/descriptors/atsc/ServiceLocationDescriptor.h"

using psitest::Descriptor;
using psitest::ParseDescriptor;

namespace {

using Bytes = std::vector<uint8_t>;

std::shared_ptr<CAc3AudioAtscDescriptor> Ac3(const Bytes& body) {
  return ParseDescriptor<CAc3AudioAtscDescriptor>(Descriptor(0x81, body), DescriptorContext_Atsc);
}

struct Ac3Case {
  const char* name;
  Bytes body;
  bool fails;
  uint8_t languageCode, languageCode2, textLength;
};

// Byte 2 carries num_channels in bits 1-4: 0x04 is 2/0 stereo, 0x00 dual mono.
const Ac3Case kAc3Cases[] = {
    {"codes only", {0x40, 0x38, 0x04}, false, 0, 0, 0},
    {"language without the byte after it", {0x40, 0x38, 0x04, 0x09}, true, 0, 0, 0},
    {"stops after the byte after the language", {0x40, 0x38, 0x04, 0x09, 0x80}, false, 0x09, 0, 0},
    {"dual mono reads the second language", {0x40, 0x38, 0x00, 0x09, 0x0A, 0x80}, false, 0x09, 0x0A, 0},
    {"dual mono without the byte after it", {0x40, 0x38, 0x00, 0x09, 0x0A}, true, 0, 0, 0},
    {"text then skipped rest", {0x40, 0x38, 0x04, 0x09, 0x80, 0x05, 'a', 'b', 0xC0, 'e', 'n', 'g'}, false, 0x09, 0, 2},
};

}  // namespace

TEST(AtscDescriptors, Ac3AudioReadsAsFarAsItsLengthAllows) {
  for (const Ac3Case& c : kAc3Cases) {
    if (c.fails) {
      EXPECT_THROW(Ac3(c.body), CPsiStreamException) << c.name;
      continue;
    }
    const auto d = Ac3(c.body);
    EXPECT_EQ(d->sample_rate_code, 2) << c.name;
    EXPECT_EQ(d->bit_rate_code, 0x0E) << c.name;
    EXPECT_EQ(d->language_code, c.languageCode) << c.name;
    EXPECT_EQ(d->language_code_2, c.languageCode2) << c.name;
    EXPECT_EQ(d->text.length, c.textLength) << c.name;
  }
  const auto withText = Ac3(kAc3Cases[5].body);
  EXPECT_EQ(withText->num_channels, 2);
  EXPECT_EQ(withText->text_code, 1);
  EXPECT_EQ(withText->text.bytes[0], 'a');
  EXPECT_EQ(withText->text.bytes[2], 0);
}

TEST(AtscDescriptors, CaptionServicesKeepOnlyTheFieldOfTheirKind) {
  const auto d = ParseDescriptor<CCaptionServiceDescriptor>(
      Descriptor(0x86, {0xC2, 'e', 'n', 'g', 0x7F, 0x3F, 0xFF, 's', 'p', 'a', 0xC1, 0xBF, 0xFF}), DescriptorContext_Atsc);
  ASSERT_EQ(d->services.size(), 2u);
  EXPECT_FALSE(d->services[0].digital_cc);
  EXPECT_EQ(d->services[0].line21_field, 1);
  EXPECT_EQ(d->services[0].caption_service_number, 0);
  EXPECT_FALSE(d->services[0].easy_reader);
  EXPECT_EQ(d->services[1].language_code, (LanguageCode{'s', 'p', 'a'}));
  EXPECT_TRUE(d->services[1].digital_cc);
  EXPECT_EQ(d->services[1].caption_service_number, 1);
  EXPECT_EQ(d->services[1].line21_field, 0);
  EXPECT_TRUE(d->services[1].easy_reader);
  EXPECT_FALSE(d->services[1].wide_aspect_ratio);

  // three services announced, one present
  EXPECT_THROW(ParseDescriptor(Descriptor(0x86, {0xC3, 'e', 'n', 'g', 0x7F, 0x3F, 0xFF}), DescriptorContext_Atsc),
               CPsiStreamException);
}

TEST(AtscDescriptors, ContentAdvisoryRegions) {
  const auto d = ParseDescriptor<CContentAdvisoryDescriptor>(
      Descriptor(0x87, {0xC1, 0x01, 0x02, 0x00, 0xF3, 0x05, 0x12, 0x00}), DescriptorContext_Atsc);
  ASSERT_EQ(d->regions.size(), 1u);
  const RatingRegion& region = d->regions[0];
  EXPECT_EQ(region.rating_region, 1);
  ASSERT_EQ(region.dimensions.size(), 2u);
  EXPECT_EQ(region.dimensions[0].rating_dimension, 0);
  EXPECT_EQ(region.dimensions[0].rating_value, 3);
  EXPECT_EQ(region.dimensions[1].rating_dimension, 5);
  EXPECT_EQ(region.dimensions[1].rating_value, 2);
  EXPECT_EQ(region.rating_description.length, 0);

  EXPECT_TRUE(ParseDescriptor<CContentAdvisoryDescriptor>(Descriptor(0x87, {0xC0}), DescriptorContext_Atsc)->regions.empty());
}

TEST(AtscDescriptors, ServiceLocationElements) {
  const auto empty = ParseDescriptor<CServiceLocationDescriptor>(Descriptor(0xA1, {0xE0, 0x31, 0x00}), DescriptorContext_Atsc);
  EXPECT_EQ(empty->pcr_pid, 0x31);
  EXPECT_TRUE(empty->elements.empty());

  const auto d = ParseDescriptor<CServiceLocationDescriptor>(
      Descriptor(0xA1, {0xE0, 0x31, 0x02, 0x02, 0xE0, 0x31, 0, 0, 0, 0x81, 0xE0, 0x34, 'e', 'n', 'g'}),
      DescriptorContext_Atsc);
  ASSERT_EQ(d->elements.size(), 2u);
  EXPECT_EQ(d->elements[0].stream_type, 0x02);
  EXPECT_EQ(d->elements[0].elementary_pid, 0x31);
  EXPECT_EQ(d->elements[1].stream_type, 0x81);
  EXPECT_EQ(d->elements[1].elementary_pid, 0x34);
  EXPECT_EQ(d->elements[1].language_code, (LanguageCode{'e', 'n', 'g'}));
}

TEST(AtscDescriptors, ComponentNameKeepsTheWholeBody) {
  const Bytes mss = {0x01, 'e', 'n', 'g', 0x01, 0x00, 0x00, 0x03, 'e', 'n', 'c'};
  const auto d = ParseDescriptor<CComponentNameDescriptor>(Descriptor(0xA3, mss), DescriptorContext_Atsc);
  EXPECT_EQ(d->name.length, mss.size());
  EXPECT_EQ(Bytes(d->name.View().begin(), d->name.View().end()), mss);
}
