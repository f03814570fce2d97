#pragma once
// Options every dtv command shares.
#include <filesystem>
#include <string>

#include "dtvhost/PluginLibrary.h"

struct HostOptions {
  std::string pluginPath;  // empty: the plug-in next to dtv

  std::filesystem::path PluginPath() const {
    return pluginPath.empty() ? PluginLibrary::DefaultPath() : std::filesystem::path(pluginPath);
  }
};
