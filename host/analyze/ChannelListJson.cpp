#include "analyze/ChannelListJson.h"

#include "analyze/ChannelListFields.h"
#include "psi/text/SafeText.h"

namespace {
using Json = nlohmann::ordered_json;

Json Value(int32_t value) { return value == -1 ? Json(nullptr) : Json(value); }

Json Language(const LanguageChars& language) {
  const auto text = LanguageText(language, TextUse::Json);
  return text ? Json(*text) : Json(nullptr);
}

Json Text(const BStr& text) { return SafeUtf8(text.View(), TextUse::Json); }

Json Codec(StreamCodec codec) {
  const char* name = CodecName(codec);
  return name ? Json(name) : Json(nullptr);
}

Json TeletextPageValue(uint8_t page) {
  const auto number = TeletextPage(page);
  return number ? Json(*number) : Json(nullptr);
}

}  // namespace

nlohmann::ordered_json ChannelToJson(const CChannel& c) {
  Json audio = Json::array();
  for (const AudioRecord& a : c.m_vAudio)
    audio.push_back({{"pid", a.pid},
                     {"language", Language(a.language)},
                     {"type", a.type},
                     {"ac3", a.ac3 != 0},
                     {"codec", Codec(CodecOf(c, a.pid))}});
  Json teletext = Json::array();
  for (const TeletextRecord& t : c.m_vTeletext)
    teletext.push_back({{"pid", t.pid}, {"language", Language(t.language)}, {"type", t.teletext_type},
                        {"magazine", t.magazine_number}, {"page", TeletextPageValue(t.page_number)}});
  Json subtitles = Json::array();
  for (const SubtitleRecord& s : c.m_vSubtitles)
    subtitles.push_back({{"pid", s.pid}, {"language", Language(s.language)}, {"type", s.subtitling_type},
                         {"compositionPage", s.composition_page_id}, {"ancillaryPage", s.ancillary_page_id}});
  Json pids = Json::array();
  for (const PidRecord& p : c.m_vPids)
    pids.push_back({{"pid", p.pid},
                    {"streamType", p.stream_type},
                    {"kind", StreamKindName(p.classification)},
                    {"codec", Codec(p.codec)}});

  return Json{{"programNumber", Value(c.m_nProgramNumber)},
              {"serviceId", Value(c.m_nServiceId)},
              {"name", Text(c.m_bstrServiceName)},
              {"provider", Text(c.m_bstrServiceProvider)},
              {"serviceType", Value(c.m_nServiceType)},
              {"runningStatus", Value(c.m_nRunningStatus)},
              {"ca", c.m_nCa == -1 ? Json(nullptr) : Json(c.m_nCa != 0)},
              {"pmtPid", Value(c.m_nPmtPid)},
              {"pcrPid", Value(c.m_nPcrPid)},
              {"videoPid", Value(VideoPid(c))},
              {"videoStreamType", c.m_nVideoStreamType},
              {"audio", audio},
              {"teletext", teletext},
              {"subtitles", subtitles},
              {"pids", pids},
              {"frequency", Value(c.m_nCarrierFrequency)},
              {"symbolRate", Value(c.m_nSymbolRate)},
              {"modulation", Value(c.m_nModulation)},
              {"polarisation", Value(c.m_nPolarisation)},
              {"orbitalPosition", Value(c.m_nOrbitalPosition)},
              {"westEast", Value(c.m_nWestEastFlag)},
              {"bandwidth", Value(c.m_nBandwidth)},
              {"majorChannel", Value(c.m_nMajorChannelNumber)},
              {"minorChannel", Value(c.m_nMinorChannelNumber)},
              {"sourceId", Value(c.m_nSourceId)},
              {"channelTsId", Value(c.m_nChannelTsId)}};
}

nlohmann::ordered_json ChannelListToJson(const TransportStreamAnalysis& analysis) {
  const std::vector<CChannel> channels = analysis.channels->Copy();
  // Every channel of one stream carries the same stream and network identifiers.
  const CChannel first = channels.empty() ? CChannel() : channels.front();
  Json list = Json::array();
  for (const CChannel& channel : channels) list.push_back(ChannelToJson(channel));
  Json frequencies = Json::array();
  for (const CTransponderFrequency& f : analysis.frequencies->Copy())
    frequencies.push_back({{"frequency", f.m_nCarrierFrequency},
                           {"symbolRate", f.m_nSymbolRate},
                           {"polarisation", f.m_nPolarisation},
                           {"orbitalPosition", f.m_nOrbitalPosition},
                           {"westEast", f.m_nWestEastFlag},
                           {"bandwidth", f.m_nBandwidth}});
  return Json{{"transportStreamId", Value(first.m_nTransportStreamId)},
              {"originalNetworkId", Value(first.m_nOriginalNetworkId)},
              {"networkId", Value(first.m_nNetworkId)},
              {"networkName", first.m_bstrNetworkName.View().empty() ? Json(nullptr) : Text(first.m_bstrNetworkName)},
              {"packetSize", analysis.packetSize},
              {"channels", list},
              {"frequencies", frequencies},
              {"warnings", analysis.warnings}};
}

std::string JsonText(const nlohmann::ordered_json& document) {
  return EscapeUnsafeJson(document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}
