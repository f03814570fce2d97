#pragma once
// The stored channels for people: one aligned row per channel, numbered as
// CHANNEL arguments take them.
#include <ostream>

#include "channels/ChannelList.h"

void WriteChannelTable(std::ostream& out, const ChannelList& channels);
