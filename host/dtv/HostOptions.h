#pragma once
// Options every dtv command shares.
#include <filesystem>
#include <string>

#include "channels/ChannelFile.h"
#include "dtvhost/PluginLibrary.h"

struct HostOptions {
  std::string pluginPath;    // empty: the plug-in next to dtv
  std::string channelsPath;  // empty: the user's channel list

  std::filesystem::path PluginPath() const {
    return pluginPath.empty() ? PluginLibrary::DefaultPath() : std::filesystem::path(pluginPath);
  }
  std::string ChannelsPath() const { return channelsPath.empty() ? DefaultChannelFile() : channelsPath; }
};
