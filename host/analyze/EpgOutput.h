#pragma once
// The EPG of a recorded stream as text, as XMLTV and as JSON.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "DSFilters/PsiRenderer/engine/Channels.h"
#include "DSFilters/PsiRenderer/engine/EpgEvents.h"

// Events grouped per channel, times in local time.
void PrintEpgText(CEpgEvents& events, const CChannels& channels, std::ostream& out);
// The XMLTV document of the events; false with `error` set when it cannot be written.
bool WriteXmltv(CEpgEvents& events, const CChannels& channels, const std::string& path, std::string& error);
void WriteXmltv(CEpgEvents& events, const CChannels& channels, std::ostream& out);
// The events in event-list order, times in UTC (ISO 8601 with "Z"), null where unset.
nlohmann::ordered_json EpgEventsToJson(CEpgEvents& events);
