#pragma once
// What every output of an analysis must be, whatever the stream held: the
// text has no control character but the line feed, the JSON parses, the
// XMLTV parses as XML 1.0. Shared by the tests and the fuzz target.
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <sstream>
#include <string>

#include "analyze/ChannelListJson.h"
#include "analyze/ChannelListText.h"
#include "analyze/EpgOutput.h"

namespace outputcheck {

// The first control character (C0 but the line feed, DEL, C1 in UTF-8) or non-character, or npos.
inline size_t FindUnsafe(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\n') || c == 0x7F) return i;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return i;
    if (c == 0xEF && text.compare(i, 3, "\xEF\xBF\xBE") == 0) return i;
    if (c == 0xEF && text.compare(i, 3, "\xEF\xBF\xBF") == 0) return i;
  }
  return std::string::npos;
}

// Empty when every output is sound, else what is wrong with which.
inline std::string Check(const TransportStreamAnalysis& analysis, CEpgEvents& events) {
  std::ostringstream text;
  WriteChannelListText(text, analysis);
  PrintEpgText(events, *analysis.channels, text);
  if (const size_t at = FindUnsafe(text.str()); at != std::string::npos)
    return "text output has an unsafe character at " + std::to_string(at) + ": " + text.str().substr(0, at + 1);

  nlohmann::ordered_json document = ChannelListToJson(analysis);
  document["events"] = EpgEventsToJson(events);
  const std::string json = JsonText(document);
  if (!nlohmann::json::accept(json)) return "JSON does not parse: " + json;
  if (const size_t at = FindUnsafe(json); at != std::string::npos) return "JSON has a raw unsafe character: " + json;

  std::ostringstream xml;
  WriteXmltv(events, *analysis.channels, xml);
  pugi::xml_document parsed;
  const pugi::xml_parse_result result = parsed.load_string(xml.str().c_str());
  if (!result) return std::string("XMLTV does not parse: ") + result.description() + "\n" + xml.str();
  // Character references to controls are not XML 1.0 either.
  if (FindUnsafe(xml.str()) != std::string::npos || xml.str().find("&#") != std::string::npos)
    return "XMLTV has a character XML 1.0 does not allow: " + xml.str();
  return {};
}

}  // namespace outputcheck
