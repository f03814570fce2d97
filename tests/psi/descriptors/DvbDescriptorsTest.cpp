#include <gtest/gtest.h>

#include <string>

#include "psi/DescriptorBytes.h"
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

std::string Text(std::span<const uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

template <typename T>
size_t EntryCount(uint8_t tag, size_t bodySize) {
  return ParseDescriptor<T>(Descriptor(tag, Bytes(bodySize, 0x11)))->entries.size();
}

struct EntryCase {
  const char* name;
  size_t (*count)(uint8_t, size_t);
  uint8_t tag;
  size_t bodySize;
  int expected;  // -1: the body ends inside an entry
};

const EntryCase kEntryCases[] = {
    {"teletext", EntryCount<CTeletextDescriptor>, 0x56, 10, 2},
    {"teletext", EntryCount<CTeletextDescriptor>, 0x56, 7, -1},
    {"iso639", EntryCount<CIso639LanguageDescriptor>, 0x0A, 0, 0},
    {"iso639", EntryCount<CIso639LanguageDescriptor>, 0x0A, 8, 2},
    {"iso639", EntryCount<CIso639LanguageDescriptor>, 0x0A, 6, -1},
    {"service list", EntryCount<CServiceListDescriptor>, 0x41, 6, 2},
    {"service list", EntryCount<CServiceListDescriptor>, 0x41, 4, -1},
    {"content", EntryCount<CContentDescriptor>, 0x54, 4, 2},
    {"content", EntryCount<CContentDescriptor>, 0x54, 3, -1},
    {"parental rating", EntryCount<CParentalRating>, 0x55, 4, 1},
    {"parental rating", EntryCount<CParentalRating>, 0x55, 5, -1},
    {"local time offset", EntryCount<CLocalTimeOffsetDescriptor>, 0x58, 26, 2},
    {"local time offset", EntryCount<CLocalTimeOffsetDescriptor>, 0x58, 12, -1},
    {"subtitling", EntryCount<CSubtitlingDescriptor>, 0x59, 16, 2},
    {"subtitling", EntryCount<CSubtitlingDescriptor>, 0x59, 9, -1},
};

}  // namespace

TEST(DvbDescriptors, EntryLoopsFillTheBodyAndFailInsideAnEntry) {
  for (const EntryCase& c : kEntryCases) {
    if (c.expected < 0)
      EXPECT_THROW(c.count(c.tag, c.bodySize), CPsiStreamException) << c.name << " " << c.bodySize;
    else
      EXPECT_EQ(c.count(c.tag, c.bodySize), size_t(c.expected)) << c.name << " " << c.bodySize;
  }
}

TEST(DvbDescriptors, EntryFieldsAreDecoded) {
  const auto teletext = ParseDescriptor<CTeletextDescriptor>(Descriptor(0x56, {'i', 't', 'a', 0x2B, 0x88}));
  ASSERT_EQ(teletext->entries.size(), 1u);
  EXPECT_EQ(teletext->entries[0].language_code, (LanguageCode{'i', 't', 'a'}));
  EXPECT_EQ(teletext->entries[0].teletext_type, 5);
  EXPECT_EQ(teletext->entries[0].magazine_number, 3);
  EXPECT_EQ(teletext->entries[0].page_number, 0x88);

  const auto language = ParseDescriptor<CIso639LanguageDescriptor>(Descriptor(0x0A, {'f', 'r', 'e', 3}));
  EXPECT_EQ(language->entries[0].language_code, (LanguageCode{'f', 'r', 'e'}));
  EXPECT_EQ(language->entries[0].audio_type, 3);

  const auto services = ParseDescriptor<CServiceListDescriptor>(Descriptor(0x41, {0x01, 0x06, 0x19}));
  EXPECT_EQ(services->entries[0].service_id, 0x0106);
  EXPECT_EQ(services->entries[0].service_type, 0x19);

  const auto content = ParseDescriptor<CContentDescriptor>(Descriptor(0x54, {0x15, 0x7E}));
  EXPECT_EQ(content->entries[0].content_nibble_level_1, 1);
  EXPECT_EQ(content->entries[0].content_nibble_level_2, 5);
  EXPECT_EQ(content->entries[0].user_byte, 0x7E);

  const auto rating = ParseDescriptor<CParentalRating>(Descriptor(0x55, {'f', 'r', 'a', 0x0C}));
  EXPECT_EQ(rating->entries[0].country_code, (LanguageCode{'f', 'r', 'a'}));
  EXPECT_EQ(rating->entries[0].rating, 0x0C);

  const auto offsets = ParseDescriptor<CLocalTimeOffsetDescriptor>(
      Descriptor(0x58, {'F', 'R', 'A', 0x0D, 0x01, 0x00, 0xC0, 0x79, 0x01, 0x00, 0x00, 0x02, 0x00}));
  const LocalTimeOffsetEntry& offset = offsets->entries.at(0);
  EXPECT_EQ(offset.country_region_id, 3);
  EXPECT_EQ(offset.local_time_offset_polarity, 1);
  EXPECT_EQ(offset.local_time_offset, 0x0100);
  EXPECT_EQ(offset.time_of_change, (std::array<uint8_t, 5>{0xC0, 0x79, 0x01, 0x00, 0x00}));
  EXPECT_EQ(offset.next_time_offset, 0x0200);

  const auto subtitles = ParseDescriptor<CSubtitlingDescriptor>(Descriptor(0x59, {'f', 'r', 'a', 0x20, 0, 1, 0, 2}));
  EXPECT_EQ(subtitles->entries[0].subtitling_type, 0x20);
  EXPECT_EQ(subtitles->entries[0].composition_page_id, 1);
  EXPECT_EQ(subtitles->entries[0].ancillary_page_id, 2);
}

TEST(DvbDescriptors, SatelliteDeliveryKeepsRollOffOnlyForDvbS2) {
  // frequency 11.75 GHz, 19.2 E, symbol rate 27.5 Msym/s, FEC 3/4
  const Bytes s2 = {0x01, 0x17, 0x50, 0x00, 0x01, 0x92, 0xD6, 0x02, 0x75, 0x00, 0x03};
  const auto d = ParseDescriptor<CSatelliteDeliverySystemDescriptor>(Descriptor(0x43, s2));
  EXPECT_EQ(d->frequency, 0x01175000u);
  EXPECT_EQ(d->orbital_position, 0x0192);
  EXPECT_EQ(d->west_east_flag, 1);
  EXPECT_EQ(d->polarization, 2);
  EXPECT_EQ(d->modulation_system, 1);
  EXPECT_EQ(d->modulation_type, 2);
  EXPECT_EQ(d->roll_off, 2);
  EXPECT_EQ(d->symbol_rate, 0x0275000u);
  EXPECT_EQ(d->fec_inner, 3);

  Bytes s1 = s2;
  s1[6] = 0xD2;  // modulation_system 0, roll-off bits still set
  const auto dvbs = ParseDescriptor<CSatelliteDeliverySystemDescriptor>(Descriptor(0x43, s1));
  EXPECT_EQ(dvbs->modulation_system, 0);
  EXPECT_EQ(dvbs->roll_off, 0);
}

TEST(DvbDescriptors, CableAndTerrestrialDelivery) {
  const auto cable = ParseDescriptor<CCableDeliverySystemDescriptor>(
      Descriptor(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x06, 0x90, 0x00, 0x05}));
  EXPECT_EQ(cable->frequency, 0x03460000u);
  EXPECT_EQ(cable->fec_outer, 2);
  EXPECT_EQ(cable->modulation, 3);
  EXPECT_EQ(cable->symbol_rate, 0x0690000u);
  EXPECT_EQ(cable->fec_inner, 5);

  const auto terrestrial = ParseDescriptor<CTerrestrialDeliverySystemDescriptor>(
      Descriptor(0x5A, {0x03, 0x1A, 0x7D, 0xC0, 0x5F, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(terrestrial->centre_frequency, 0x031A7DC0u);
  EXPECT_EQ(terrestrial->bandwidth, 2);
  EXPECT_THROW(ParseDescriptor(Descriptor(0x5A, Bytes(10, 0))), CPsiStreamException);
}

TEST(DvbDescriptors, TextsStayRawWithTheirLengths) {
  const Bytes name = Cat({Bytes{0x05}, Ascii("France "), Bytes{0xD4}});
  const auto service = ParseDescriptor<CServiceDescriptor>(
      Descriptor(0x48, Cat({Bytes{0x01, 3}, Ascii("GR1"), Bytes{uint8_t(name.size())}, name})));
  EXPECT_EQ(service->service_type, 1);
  EXPECT_EQ(Text(service->service_provider_name.View()), "GR1");
  EXPECT_EQ(service->service_name.length, name.size());
  EXPECT_EQ(Bytes(service->service_name.View().begin(), service->service_name.View().end()), name);
  EXPECT_EQ(service->service_name.bytes[name.size()], 0);

  const auto shortEvent =
      ParseDescriptor<CShortEventDescriptor>(Descriptor(0x4D, Cat({Ascii("fre"), {3}, Ascii("Rex"), {2}, Ascii("Le")})));
  EXPECT_EQ(shortEvent->language_code, (LanguageCode{'f', 'r', 'e'}));
  EXPECT_EQ(Text(shortEvent->event_name.View()), "Rex");
  EXPECT_EQ(Text(shortEvent->text.View()), "Le");

  const auto component =
      ParseDescriptor<CComponentDescriptor>(Descriptor(0x50, Cat({{0xF5, 0x0B, 0x01}, Ascii("fre"), Ascii("MPEG4HD")})));
  EXPECT_EQ(component->stream_content, 5);
  EXPECT_EQ(component->component_type, 0x0B);
  EXPECT_EQ(component->component_tag, 1);
  EXPECT_EQ(Text(component->text.View()), "MPEG4HD");

  const auto ca = ParseDescriptor<CConditionalAccessDescriptor>(Descriptor(0x09, {0x05, 0x00, 0xE1, 0x23, 0xAA, 0xBB}));
  EXPECT_EQ(ca->ca_system_id, 0x0500);
  EXPECT_EQ(ca->ca_pid, 0x0123);
  EXPECT_EQ(ca->private_data.length, 2);
  EXPECT_EQ(ca->private_data.bytes[1], 0xBB);
}

TEST(DvbDescriptors, NameOf255BytesStaysTerminated) {
  const auto network = ParseDescriptor<CNetworkNameDescriptor>(Descriptor(0x40, Bytes(255, 'A')));
  EXPECT_EQ(network->name.length, 255);
  EXPECT_EQ(network->name.bytes[254], 'A');
  EXPECT_EQ(network->name.bytes[255], 0);
}

TEST(DvbDescriptors, ExtendedEventItemsAndText) {
  const Bytes items = Cat({{2}, Ascii("D1"), {2}, Ascii("I1"), {3}, Ascii("D22"), {0}});
  const auto d = ParseDescriptor<CExtendedEventDescriptor>(
      Descriptor(0x4E, Cat({{0x13}, Ascii("fre"), {uint8_t(items.size())}, items, {4}, Ascii("Text")})));
  EXPECT_EQ(d->descriptor_number, 1);
  EXPECT_EQ(d->last_descriptor_number, 3);
  ASSERT_EQ(d->items.size(), 2u);
  EXPECT_EQ(Text(d->items[0].item_description.View()), "D1");
  EXPECT_EQ(Text(d->items[0].item.View()), "I1");
  EXPECT_EQ(Text(d->items[1].item_description.View()), "D22");
  EXPECT_EQ(d->items[1].item.length, 0);
  EXPECT_EQ(Text(d->text.View()), "Text");

  // length_of_items reaching past the body
  EXPECT_THROW(ParseDescriptor(Descriptor(0x4E, Cat({{0x00}, Ascii("fre"), {20}, {2}, Ascii("D1")}))), CPsiStreamException);
}

TEST(DvbDescriptors, IdentifierOnlyDescriptors) {
  const auto linkage = ParseDescriptor<CLinkageDescriptor>(Descriptor(0x4A, {0, 1, 0x20, 0xFA, 0x01, 0x06, 0x05, 0xEE}));
  EXPECT_EQ(linkage->transport_stream_id, 1);
  EXPECT_EQ(linkage->original_network_id, 0x20FA);
  EXPECT_EQ(linkage->service_id, 0x0106);

  const auto pdc = ParseDescriptor<CPdcDescriptor>(Descriptor(0x69, {0xF1, 0x23, 0x45}));
  EXPECT_EQ(pdc->pil_high, 0xF123);
  EXPECT_EQ(pdc->pil_low, 0x45);

  EXPECT_EQ(ParseDescriptor<CDvbS2SatelliteDeliverySystemDescriptor>(Descriptor(0x79, {0x20, 9}))
                ->backwards_compatibility_indicator,
            1);
  EXPECT_EQ(ParseDescriptor<CDvbS2SatelliteDeliverySystemDescriptor>(Descriptor(0x79, {0xDF}))
                ->backwards_compatibility_indicator,
            0);
}
