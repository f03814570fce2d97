#include "EpgOutput.h"

#include <ctime>
#include <map>
#include <pugixml.hpp>

#include "analyze/OutputFile.h"
#include "analyze/XmltvChannelId.h"
#include "psi/text/SafeText.h"

namespace {

using Json = nlohmann::ordered_json;


std::string FormatTime(int64_t seconds, const char* format, bool utc) {
  const time_t t = static_cast<time_t>(seconds);
  std::tm tm{};
  if (!(utc ? gmtime_r(&t, &tm) : localtime_r(&t, &tm))) return {};
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, format, &tm));
}

// The channel an event belongs to: DVB by (onid, tsid, service id), ATSC by source id.
struct ChannelInfo {
  std::string id;
  std::string name;
};

std::string ChannelId(const CEpgEvent& e) {
  return XmltvChannelId(e.m_lOriginalNetworkId, e.m_lTransportStreamId, e.m_lServiceId);
}

std::string ChannelName(const CEpgEvent& e, const std::vector<CChannel>& channels) {
  for (const CChannel& c : channels) {
    const bool atsc = e.m_lOriginalNetworkId == -1;
    if ((atsc && c.m_nSourceId == e.m_lServiceId) || (!atsc && c.m_nServiceId == e.m_lServiceId &&
                                                       (c.m_nTransportStreamId == e.m_lTransportStreamId)))
      if (!c.m_bstrServiceName.View().empty()) return SafeUtf8(c.m_bstrServiceName.View(), TextUse::Line);
  }
  return "service " + std::to_string(e.m_lServiceId);
}

// Channel id -> display name, in the order the events name them.
std::vector<ChannelInfo> EventChannels(CEpgEvents& events, const CChannels& channels) {
  const std::vector<CChannel> list = channels.Copy();
  std::vector<ChannelInfo> result;
  std::map<std::string, bool> seen;
  AutoLock lock(events.Lock());
  for (const auto& [key, entry] : events.Entries()) {
    const std::string id = ChannelId(entry.event);
    if (seen.emplace(id, true).second) result.push_back({id, ChannelName(entry.event, list)});
  }
  return result;
}

// Continuation lines of a multi-line text keep the indent.
std::string Indented(const std::u16string& text) {
  std::string out;
  for (char c : SafeUtf8(text, TextUse::Paragraph)) {
    out += c;
    if (c == '\n') out += "      ";
  }
  return out;
}

Json Value(int32_t v) { return v == -1 ? Json(nullptr) : Json(v); }
Json Time(int64_t seconds) {
  return seconds == 0 ? Json(nullptr) : Json(FormatTime(seconds, "%Y-%m-%dT%H:%M:%SZ", true));
}
Json Text(const std::u16string& text) { return text.empty() ? Json(nullptr) : Json(SafeUtf8(text, TextUse::Json)); }
std::string Line(const std::u16string& text) { return SafeUtf8(text, TextUse::Line); }

}  // namespace

void PrintEpgText(CEpgEvents& events, const CChannels& channels, std::ostream& out) {
  const std::vector<ChannelInfo> list = EventChannels(events, channels);
  out << events.Count() << " events\n";
  AutoLock lock(events.Lock());
  for (const ChannelInfo& channel : list) {
    out << "\n" << channel.name << " (" << channel.id << ")\n";
    for (const auto& [key, entry] : events.Entries()) {
      const CEpgEvent& e = entry.event;
      if (ChannelId(e) != channel.id) continue;
      out << "  " << FormatTime(e.m_llStartTime, "%Y-%m-%d %H:%M", false) << " - "
          << FormatTime(e.m_llEndTime, "%H:%M", false) << "  " << Line(e.m_bstrEventName) << "  [event "
          << e.m_lEventId << "]\n";
      if (!e.m_bstrText.empty()) out << "      " << Indented(e.m_bstrText) << "\n";
      if (!e.m_bstrItem.empty())
        out << "      items " << Line(e.m_bstrItemDescription) << " = " << Line(e.m_bstrItem) << "\n";
    }
  }
}

void WriteXmltv(CEpgEvents& events, const CChannels& channels, std::ostream& out) {
  pugi::xml_document doc;
  auto decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  doc.append_child(pugi::node_doctype).set_value("tv SYSTEM \"xmltv.dtd\"");
  pugi::xml_node tv = doc.append_child("tv");
  tv.append_attribute("generator-info-name") = "dtv";
  for (const ChannelInfo& channel : EventChannels(events, channels)) {
    pugi::xml_node node = tv.append_child("channel");
    node.append_attribute("id") = channel.id.c_str();
    node.append_child("display-name").text() = channel.name.c_str();
  }
  AutoLock lock(events.Lock());
  for (const auto& [key, entry] : events.Entries()) {
    const CEpgEvent& e = entry.event;
    if (e.m_llStartTime == 0) continue;  // XMLTV needs a start
    pugi::xml_node programme = tv.append_child("programme");
    programme.append_attribute("start") = FormatTime(e.m_llStartTime, "%Y%m%d%H%M%S %z", false).c_str();
    programme.append_attribute("stop") = FormatTime(e.m_llEndTime, "%Y%m%d%H%M%S %z", false).c_str();
    programme.append_attribute("channel") = ChannelId(e).c_str();
    programme.append_child("title").text() = Line(e.m_bstrEventName).c_str();
    if (!e.m_bstrText.empty())
      programme.append_child("desc").text() = SafeUtf8(e.m_bstrText, TextUse::Paragraph).c_str();
  }
  doc.save(out, "  ");
}

bool WriteXmltv(CEpgEvents& events, const CChannels& channels, const std::string& path, std::string& error) {
  COutputFile file;
  if (!file.Open(path, error)) return false;
  WriteXmltv(events, channels, file.Stream());
  return file.Commit(error);
}

Json EpgEventsToJson(CEpgEvents& events) {
  Json list = Json::array();
  AutoLock lock(events.Lock());
  for (const auto& [key, entry] : events.Entries()) {
    const CEpgEvent& e = entry.event;
    list.push_back({{"originalNetworkId", Value(e.m_lOriginalNetworkId)},
                    {"transportStreamId", Value(e.m_lTransportStreamId)},
                    {"serviceId", Value(e.m_lServiceId)},
                    {"eventId", Value(e.m_lEventId)},
                    {"start", Time(e.m_llStartTime)},
                    {"end", Time(e.m_llEndTime)},
                    {"name", Text(e.m_bstrEventName)},
                    {"text", Text(e.m_bstrText)},
                    {"items", Text(e.m_bstrItem)},
                    {"itemDescriptions", Text(e.m_bstrItemDescription)}});
  }
  return list;
}
