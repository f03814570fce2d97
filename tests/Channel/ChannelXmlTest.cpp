#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "ChannelBuilder.h"
#include "platform/com/Utf.h"

namespace {

ComPtr<IKxXmlSerialisation> Xml(IKxChannel* channel) { return QueryAs<IKxXmlSerialisation>(channel); }

std::u16string Save(IKxChannel* channel) {
  BStr xml;
  EXPECT_EQ(S_OK, Xml(channel)->SaveToXml(xml.Put()));
  return std::u16string(xml.View());
}

HRESULT Load(IKxChannel* channel, std::u16string_view xml) {
  BStr text(xml);
  return Xml(channel)->LoadFromXml(text.Get());
}

pugi::xml_document Parse(const std::u16string& xml) {
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(Utf16ToUtf8(xml).c_str()));
  return doc;
}

TEST(ChannelXmlTest, FreshChannelWritesTheDefaultsInOrderWithoutDeclaration) {
  const std::u16string xml = Save(NewChannel().Get());
  EXPECT_EQ(0u, xml.find(u"<channel "));
  pugi::xml_document doc = Parse(xml);
  pugi::xml_node channel = doc.document_element();

  const char* names[] = {"type",
                         "title",
                         "programNumber",
                         "countryCode",
                         "inputSource",
                         "inputType",
                         "analogTunerMode",
                         "scrambled",
                         "visible",
                         "videoDevice",
                         "audioDevice",
                         "carrierFrequency",
                         "serviceProviderName",
                         "bandwidth",
                         "networkId",
                         "serviceId",
                         "transportStreamId",
                         "networkName",
                         "innerFec",
                         "outerFec",
                         "satellite",
                         "modulation",
                         "symbolRate",
                         "signalPolarisation",
                         "runningState",
                         "pcrPid",
                         "serviceType",
                         "physicalChannel",
                         "majorChannel",
                         "minorChannel",
                         "sourceId",
                         "channelTsId",
                         "channelFlags",
                         "pilot",
                         "rolloff",
                         "lnbPos",
                         "highOscillator",
                         "lowOscillator",
                         "lnbSwitch",
                         "videoStreamType"};
  std::vector<std::string> written;
  for (pugi::xml_attribute a : channel.attributes()) written.push_back(a.name());
  EXPECT_EQ(std::vector<std::string>(std::begin(names), std::end(names)), written);

  const std::pair<const char*, const char*> values[] = {
      {"type", "0"},   {"programNumber", "-1"},  {"visible", "1"}, {"scrambled", "0"}, {"analogTunerMode", "1"},
      {"lnbPos", "0"}, {"videoStreamType", "0"}, {"title", ""},    {"satellite", ""},  {"signalPolarisation", "-1"}};
  for (const auto& [name, value] : values) EXPECT_STREQ(value, channel.attribute(name).value()) << name;

  ASSERT_EQ(1, std::distance(channel.children().begin(), channel.children().end()));
  EXPECT_STREQ("pids", channel.first_child().name());
  EXPECT_FALSE(channel.first_child().first_child());
}

TEST(ChannelXmlTest, PidElementsNameTheirKindInPidOrder) {
  pugi::xml_document doc = Parse(Save(FullChannel(KxChannelType_DvbsTv).Get()));
  pugi::xml_node pids = doc.document_element().child("pids");
  const char* expected[] = {"pmtPid", "videoPid", "audioPid", "teletextPid", "pid", "audioPid"};
  std::vector<std::string> names;
  for (pugi::xml_node pid : pids.children()) names.push_back(pid.name());
  EXPECT_EQ(std::vector<std::string>(std::begin(expected), std::end(expected)), names);
  pugi::xml_node teletext = pids.child("teletextPid");
  EXPECT_STREQ("5104", teletext.attribute("pid").value());
  EXPECT_STREQ("deu", teletext.attribute("language").value());
  EXPECT_STREQ("0", teletext.attribute("pageNumber").value());
  EXPECT_STREQ("0", pids.child("pmtPid").attribute("type").value());
  EXPECT_STREQ("1", pids.last_child().attribute("ac3").value());
}

TEST(ChannelXmlTest, EveryChannelTypeWithEveryPidKindSurvivesSaveAndLoad) {
  for (LONG type = KxChannelType_AtscRadio; type <= KxChannelType_DvbcTv; ++type) {
    SCOPED_TRACE(type);
    ComPtr<IKxChannel> original = FullChannel(type);
    const std::u16string xml = Save(original.Get());
    ComPtr<IKxChannel> loaded = NewChannel();
    ASSERT_EQ(S_OK, Load(loaded.Get(), xml));
    EXPECT_EQ(S_OK, loaded->IsEqual(original.Get()));
    EXPECT_EQ(S_OK, original->IsEqual(loaded.Get()));
    // Values outside the comparison come back too.
    EXPECT_EQ(xml, Save(loaded.Get()));
    EXPECT_EQ(GetText(original.Get(), &IKxChannel::get_Title), GetText(loaded.Get(), &IKxChannel::get_Title));
  }
}

TEST(ChannelXmlTest, MissingLaterAttributesTakeTheirDefaults) {
  ComPtr<IKxChannel> c = NewChannel();
  PutNamed(c.Get(), u"VideoStreamType", Variant(int32_t{27}));
  PutNamed(c.Get(), u"Pilot", Variant(int32_t{1}));
  ASSERT_EQ(S_OK, Load(c.Get(), u"<channel type=\"8\" programNumber=\"12\" visible=\"1\"><pids/></channel>"));
  EXPECT_EQ(1, GetLong(c.Get(), &IKxChannel::get_LnbPosition));
  EXPECT_EQ(-1, GetNamedInt(c.Get(), u"Pilot"));
  EXPECT_EQ(-1, GetNamedInt(c.Get(), u"Rolloff"));
  EXPECT_EQ(-1, GetNamedInt(c.Get(), u"HighOscillator"));
  EXPECT_EQ(-1, GetNamedInt(c.Get(), u"LowOscillator"));
  EXPECT_EQ(-1, GetNamedInt(c.Get(), u"LnbSwitch"));
  EXPECT_EQ(27, GetNamedInt(c.Get(), u"VideoStreamType"));
  EXPECT_EQ(8, GetLong(c.Get(), &IKxChannel::get_Type));
  EXPECT_EQ(12, GetLong(c.Get(), &IKxChannel::get_ProgramNumber));
}

TEST(ChannelXmlTest, NumbersAreReadFromTheirLeadingDigitsAndFlagsOnlyFromOne) {
  ComPtr<IKxChannel> c = NewChannel();
  ASSERT_EQ(S_OK, Load(c.Get(), u"<channel serviceId=\"123abc\" networkId=\"-5\" visible=\"2\" scrambled=\"1\"/>"));
  EXPECT_EQ(123, GetLong(c.Get(), &IKxChannel::get_ServiceId));
  EXPECT_EQ(-5, GetLong(c.Get(), &IKxChannel::get_NetworkId));
  VARIANT_BOOL flag = VARIANT_TRUE;
  c->get_Visible(&flag);
  EXPECT_EQ(VARIANT_FALSE, flag);
  c->get_Scrambled(&flag);
  EXPECT_EQ(VARIANT_TRUE, flag);
}

TEST(ChannelXmlTest, DuplicatePidsReplaceAndAreSavedOnceInOrder) {
  ComPtr<IKxChannel> c = NewChannel();
  ASSERT_EQ(S_OK, Load(c.Get(),
                       u"<channel><pids><videoPid pid=\"300\" type=\"2\"/><audioPid pid=\"200\" type=\"3\" "
                       u"language=\"eng\" ac3=\"0\"/><unknownPid pid=\"50\"/><audioPid pid=\"300\" type=\"4\" "
                       u"language=\"fra\" ac3=\"1\"/></pids></channel>"));
  ASSERT_EQ(2, GetLong(c.Get(), &IKxChannel::get_PidInfoCount));
  pugi::xml_document doc = Parse(Save(c.Get()));
  pugi::xml_node pids = doc.document_element().child("pids");
  std::vector<std::string> seen;
  for (pugi::xml_node pid : pids.children())
    seen.push_back(std::string(pid.name()) + ":" + pid.attribute("pid").value() + ":" +
                   pid.attribute("language").value());
  EXPECT_EQ((std::vector<std::string>{"audioPid:200:eng", "audioPid:300:fra"}), seen);
}

TEST(ChannelXmlTest, LoadingAddsToExistingPids) {
  ComPtr<IKxChannel> c = NewChannel();
  AddPmt(c.Get(), 100);
  ASSERT_EQ(S_OK, Load(c.Get(), u"<channel><pids><videoPid pid=\"101\" type=\"2\"/></pids></channel>"));
  EXPECT_EQ(2, GetLong(c.Get(), &IKxChannel::get_PidInfoCount));
}

TEST(ChannelXmlTest, TwoPidsElementsLoadNoPids) {
  ComPtr<IKxChannel> c = NewChannel();
  ASSERT_EQ(S_OK, Load(c.Get(),
                       u"<channel type=\"6\"><pids><videoPid pid=\"101\" type=\"2\"/></pids>"
                       u"<pids><pmtPid pid=\"100\"/></pids></channel>"));
  EXPECT_EQ(0, GetLong(c.Get(), &IKxChannel::get_PidInfoCount));
  EXPECT_EQ(6, GetLong(c.Get(), &IKxChannel::get_Type));
}

TEST(ChannelXmlTest, MalformedXmlFailsAndKeepsTheChannel) {
  const std::u16string_view broken[] = {u"", u"<channel type=\"6\"", u"<channel></pids>", u"not xml at all",
                                        u"<channel type=\"6\"/><channel/>"};
  for (std::u16string_view xml : broken) {
    SCOPED_TRACE(Utf16ToUtf8(xml));
    ComPtr<IKxChannel> c = FullChannel(KxChannelType_DvbtTv);
    const std::u16string before = Save(c.Get());
    EXPECT_EQ(E_FAIL, Load(c.Get(), xml));
    EXPECT_EQ(before, Save(c.Get()));
  }
  EXPECT_EQ(E_FAIL, Xml(NewChannel().Get())->LoadFromXml(nullptr));
  EXPECT_EQ(E_POINTER, Xml(NewChannel().Get())->SaveToXml(nullptr));
}

}  // namespace
