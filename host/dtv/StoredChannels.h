#pragma once
// The channel list file as the commands use it: failures are HostErrors.
#include <string>

#include "channels/ChannelList.h"

ChannelList LoadStoredChannels(const std::string& path);
void SaveStoredChannels(const std::string& path, const ChannelList& channels);
