#pragma once
// "dtv devices": every device of the plug-in's system configuration.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "interfaces/IKxCaptureDevice.h"

struct DeviceListing {
  std::string friendlyName;
  std::string deliverySystem;  // "DVB-T", "DVB-C", "DVB-S", "ATSC" or "unknown"
  std::string moniker;
  std::string manufacturer;
  std::string hardwareId;
  bool inUse = false;
  long lockLevel = 0;
  bool lockedHere = false;
};

// The devices in the configuration's order; nothing when they cannot be listed.
std::optional<std::vector<DeviceListing>> ListDevices(IKxSystemConfiguration* configuration);

// Prints friendly name, delivery system, moniker, manufacturer, hardware id
// and usage of each device, numbered from 0.
void PrintDevices(const std::vector<DeviceListing>& devices, std::FILE* out);
