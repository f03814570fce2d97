#pragma once
// The channel list file: one XML document, a "channels" root holding each
// channel object's own XML form in list order.
#include <string>

#include "channels/ChannelList.h"

// $XDG_DATA_HOME/dtv/channels.xml (else ~/.local/share/dtv/channels.xml).
std::string DefaultChannelFile();

// false with `error` set to one line naming the file and the fault.
bool LoadChannelFile(const std::string& path, ChannelList& channels, std::string& error);
// Written to a temporary file and renamed over `path`; the directory is
// created when missing.
bool SaveChannelFile(const std::string& path, const ChannelList& channels, std::string& error);
