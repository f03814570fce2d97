// The generated demo network: its multiplexes decode to the intended
// channels, and each file loops without a continuity break.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include <pugixml.hpp>
#include <sstream>

#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamEpgReader.h"
#include "DemoStreams.h"
#include "analyze/EpgOutput.h"

namespace {

using demotest::ReadDemo;

TEST(DemoNetwork, MultiplexesDecodeToTheirChannelsWithEveryCharacterTable) {
  const std::map<int, std::vector<std::u16string>> expected = {
      {1, {u"Demo One", u"T\u00E9l\u00E9 Nord HD", u"Radio Classic", u"Kanal \u015Eehir"}},
      {2, {u"Demo News", u"\u0420\u0430\u0434\u0438\u043E \u041E\u0434\u0438\u043D", u"Sport Live HD", u"Kids Club"}},
      {3, {u"Movie Max HD", u"Jazz FM", u"Nature HD", u"Shopping 24"}},
  };
  for (const auto& [mux, names] : expected) {
    const std::vector<uint8_t> ts = ReadDemo(mux);
    ASSERT_GT(ts.size(), 1'000'000u) << "mux " << mux;
    CTransportStreamAnalyzer analyzer(false);
    const TransportStreamAnalysis result = analyzer.Analyze(ts);
    ASSERT_TRUE(result.error.empty()) << result.error;
    EXPECT_TRUE(result.sdtComplete && result.nitComplete && result.pmtComplete);
    ASSERT_EQ(result.channels->Size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
      const auto channel = result.channels->GetChannel(i);
      EXPECT_EQ(channel->m_bstrServiceName.View(), names[i]);
      EXPECT_EQ(channel->m_nTransportStreamId, mux);
      EXPECT_EQ(channel->m_nCa, mux == 3 && i == 0 ? 1 : 0) << "only Movie Max is scrambled";
    }
    EXPECT_EQ(result.frequencies->Size(), 3u);
  }
}

TEST(DemoNetwork, ContinuityCountersRunOnAcrossTheLoopAndSectionsArePacked) {
  const std::vector<uint8_t> ts = ReadDemo(1);
  ASSERT_EQ(ts.size() % 188, 0u);
  std::map<uint16_t, int> lastCc;
  size_t packedPackets = 0;
  // Two passes over the file: the second checks the seam of the loop.
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t offset = 0; offset < ts.size(); offset += 188) {
      const uint8_t* p = &ts[offset];
      ASSERT_EQ(p[0], 0x47);
      const uint16_t pid = static_cast<uint16_t>((p[1] & 0x1F) << 8 | p[2]);
      const bool payload = (p[3] & 0x10) != 0;
      if (pid == 0x1FFF) continue;
      const int cc = p[3] & 0x0F;
      if (lastCc.count(pid)) {
        // A packet with only an adaptation field (a PCR) repeats the counter.
        ASSERT_EQ(cc, (lastCc[pid] + (payload ? 1 : 0)) % 16) << "pid " << pid << " at " << offset << " pass " << pass;
      }
      if (!payload) continue;
      lastCc[pid] = cc;
      // A section's pointer field follows the header directly; PES packets have adaptation fields.
      const bool sectionStart = (p[1] & 0x40) && (p[3] & 0x30) == 0x10;
      if (pass == 0 && sectionStart && p[4] > 0) ++packedPackets;
    }
  }
  EXPECT_GT(packedPackets, 0u) << "some sections start in the middle of a packet";
}

}  // namespace

namespace {

TEST(DemoNetwork, CarriesADayOfScheduleAsTextXmltvAndJson) {
  const std::vector<uint8_t> ts = ReadDemo(1);
  const auto events = CTransportStreamEpgReader(false).Read(ts);
  // Four services, a programme per hour; present/following repeat schedule events.
  ASSERT_EQ(events->Count(), 96u);
  const CEpgEvent& first = events->Entries().begin()->second.event;
  EXPECT_EQ(first.m_bstrEventName, u"Morning News");
  EXPECT_EQ(first.m_bstrText, u"Morning News on Demo One\r\nLive from the demo studio.");
  EXPECT_EQ(first.m_bstrItem, u"*A. Smith*2026");
  EXPECT_EQ(first.m_bstrItemDescription, u"*Presenter*Year");
  EXPECT_EQ(first.m_llStartTime, 1796860800);
  EXPECT_EQ(first.m_llEndTime, 1796860800 + 3600);

  CTransportStreamAnalyzer analyzer(false);
  const TransportStreamAnalysis channels = analyzer.Analyze(ts);
  std::ostringstream xml;
  WriteXmltv(*events, *channels.channels, xml);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(xml.str().c_str()));
  const pugi::xml_node tv = doc.child("tv");
  ASSERT_TRUE(tv);
  std::set<std::string> ids;
  for (pugi::xml_node c : tv.children("channel")) {
    ids.insert(c.attribute("id").value());
    EXPECT_FALSE(std::string(c.child_value("display-name")).empty());
  }
  EXPECT_EQ(ids.size(), 4u);
  size_t programmes = 0;
  for (pugi::xml_node p : tv.children("programme")) {
    ++programmes;
    EXPECT_TRUE(ids.count(p.attribute("channel").value())) << "every programme names a listed channel";
    EXPECT_EQ(std::string(p.attribute("start").value()).size(), 20u) << "YYYYMMDDhhmmss +zzzz";
    EXPECT_TRUE(p.child("title"));
  }
  EXPECT_EQ(programmes, 96u);
  EXPECT_NE(xml.str().find("<display-name>Kanal \xC5\x9E" "ehir</display-name>"), std::string::npos);

  const nlohmann::ordered_json json = EpgEventsToJson(*events);
  ASSERT_EQ(json.size(), 96u);
  EXPECT_EQ(json[0]["start"], "2026-12-10T00:00:00Z");
  EXPECT_EQ(json[0]["end"], "2026-12-10T01:00:00Z");
  EXPECT_EQ(json[0]["serviceId"], 257);
  EXPECT_EQ(json[1]["items"], nullptr) << "odd hours carry no extended event";
}

}  // namespace
