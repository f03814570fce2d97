#pragma once
// The analysed channel list as one JSON object for scripts: camelCase names,
// null for every value the stream did not give.
#include <nlohmann/json.hpp>

#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"

// One channel, as in the list's "channels" array.
nlohmann::ordered_json ChannelToJson(const CChannel& channel);
nlohmann::ordered_json ChannelListToJson(const TransportStreamAnalysis& analysis);
// The document as printed: indented, every unsafe character escaped.
std::string JsonText(const nlohmann::ordered_json& document);
