#include "dtvhost/DeviceLookup.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "dtvhost/NameMatch.h"

std::optional<size_t> FindDevice(const std::vector<DeviceName>& devices, const std::string& text, std::string& error) {
  // `dtv devices` counts from 0.
  if (const std::optional<size_t> number = ListNumber(text)) {
    if (*number < devices.size()) return *number;
    error = devices.empty() ? fmt::format("no device {}: no digital TV devices found", text)
                            : fmt::format("no device {}: the devices are 0 to {}", text, devices.size() - 1);
    return std::nullopt;
  }
  for (size_t i = 0; i < devices.size(); ++i)
    if (devices[i].moniker == text) return i;
  std::vector<std::string> names;
  for (const DeviceName& device : devices) names.push_back(device.friendlyName);
  const std::vector<size_t> matches = MatchingNames(names, text);
  if (matches.size() == 1) return matches.front();
  if (matches.empty())
    error = fmt::format("no device '{}'; 'dtv devices' lists them", text);
  else
    error = fmt::format("'{}' names {} devices ({}); give the number or the moniker", text, matches.size(),
                        fmt::join(NumbersOf(matches, 0), ", "));
  return std::nullopt;
}
