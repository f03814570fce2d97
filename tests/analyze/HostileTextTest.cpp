// Broadcast text made to attack the outputs: escape sequences for the
// terminal, characters XML 1.0 forbids, DVB's own control codes.
#include <gtest/gtest.h>

#include <sstream>

#include "support/AnalysisOutputChecks.h"

namespace {

const std::u16string kHostile = u"News\x1B]0;owned\x07\x1B[2J\u009B31m\uFFFE\x01\uE086 24\uE087";

struct HostileStream {
  HostileStream() {
    auto channel = analysis.channels->CreateChannel(1);
    channel->m_nServiceId = 1;
    channel->m_nTransportStreamId = 2;
    channel->m_nOriginalNetworkId = 3;
    channel->m_bstrServiceName = BStr(kHostile);
    channel->m_bstrServiceProvider = BStr(kHostile);
    channel->m_bstrNetworkName = BStr(kHostile);
    channel->m_vAudio.push_back({});
    channel->m_vAudio.back().language = {0x1B, '[', 'm'};
    AutoLock lock(events.Lock());
    CEpgEvent& event = events.GetOrCreateEvent(7, 1, 2, 3);
    event.m_bstrEventName = kHostile;
    event.m_bstrText = u"line one\uE08Aline two\x1B[31m\uFFFF";
    event.m_bstrItem = kHostile;
    event.m_bstrItemDescription = kHostile;
    event.m_llStartTime = 1700000000;
    event.m_llEndTime = 1700003600;
  }
  TransportStreamAnalysis analysis;
  CEpgEvents events;
};

TEST(HostileTextTest, EveryOutputStaysSound) {
  HostileStream stream;
  EXPECT_EQ(outputcheck::Check(stream.analysis, stream.events), "");
}

TEST(HostileTextTest, OutputsKeepTheMeaningfulText) {
  HostileStream stream;
  std::ostringstream text;
  WriteChannelListText(text, stream.analysis);
  PrintEpgText(stream.events, *stream.analysis.channels, text);
  EXPECT_NE(text.str().find("\"News]0;owned[2J31m 24\""), std::string::npos) << text.str();
  // The DVB line break is a line of the description.
  EXPECT_NE(text.str().find("      line one\n      line two[31m\n"), std::string::npos) << text.str();

  std::ostringstream xml;
  WriteXmltv(stream.events, *stream.analysis.channels, xml);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(xml.str().c_str()));
  EXPECT_STREQ(doc.select_node("/tv/programme/title").node().text().get(), "News]0;owned[2J31m 24");
  EXPECT_STREQ(doc.select_node("/tv/programme/desc").node().text().get(), "line one\nline two[31m");

  // JSON gives the text as sent, its controls escaped.
  const nlohmann::json json = nlohmann::json::parse(JsonText(ChannelListToJson(stream.analysis)));
  EXPECT_EQ(json["channels"][0]["name"], "News\x1B]0;owned\x07\x1B[2J\xC2\x9B" "31m\xEF\xBF\xBE\x01 24");
}

}  // namespace
