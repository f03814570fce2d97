#pragma once
// One tuner device of the host's hardware configuration.
#include <string>

struct HWDevice {
  std::string moniker;
  std::string friendlyName;
  std::string manufacturer;
  std::string hardwareId;
  std::string physicalDeviceId;
  std::string driverDescription;
  std::string driverVersion;
};
