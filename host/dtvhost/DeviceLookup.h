#pragma once
// DEVICE arguments: the number, the friendly name or the moniker that
// `dtv devices` shows.
#include <optional>
#include <string>
#include <vector>

struct DeviceName {
  std::string friendlyName;
  std::string moniker;
};

// The index into `devices`, or nothing with `error` set to one line.
std::optional<size_t> FindDevice(const std::vector<DeviceName>& devices, const std::string& text, std::string& error);
