#pragma once
// CHANNEL arguments: the number `dtv channels` shows, or a name of the list.
#include <optional>
#include <string>

#include "channels/ChannelList.h"

// The index into `channels`, or nothing with `error` set ("no channel 'X' in
// FILE", "'X' names 2 channels: 3, 7; give the number").
std::optional<size_t> FindChannel(const ChannelList& channels, const std::string& text, const std::string& file,
                                  std::string& error);
