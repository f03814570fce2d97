#pragma once
// Stored channels as a libdvbv5 channel file (what dvbv5-scan writes and
// dvbv5-zap reads), and back.
#include <optional>
#include <string>
#include <vector>

#include "channels/ChannelList.h"
#include "channels/Dvbv5Text.h"

// A ']' in a name becomes ')', as libdvbv5 ends names there. Channels whose
// delivery system is unknown cannot be tuned from the file
// and are left out; `skipped` counts them.
std::vector<Dvbv5Entry> Dvbv5ChannelEntries(const ChannelList& channels, size_t& skipped);
// Nothing with `error` naming the entry when one lacks its delivery system or frequency.
std::optional<ChannelList> ChannelsOfDvbv5(const std::vector<Dvbv5Entry>& entries, std::string& error);
