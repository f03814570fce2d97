#pragma once
// Virtual tuners: an XML description (docs/virtual-tuners.md) maps the
// frequencies of each tuner to recorded transport-stream files.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/bda/DeliverySystem.h"

struct VirtualMultiplex {
  uint32_t frequencyKHz = 0;
  int lnbPosition = -1;    // satellite only
  char polarisation = 0;   // satellite only: 'H', 'V', 'L' or 'R'
  uint32_t symbolRate = 0; // ksymbol/s, satellite and cable
  std::string file;        // environment references expanded, relative to the description
  uint32_t bitrate = 0;    // bit/s to play at; 0: the stream's own
  int strength = 100;      // signal strength and quality reported when tuned, 0 to 100
  int quality = 100;
  bool locked = true;
};

struct VirtualTuner {
  std::string id;
  std::string moniker;  // "virtualdvb:<description path>#<id>"
  std::optional<DeliverySystem> system;  // none: a driver exposing no demodulator
  std::string friendlyName;
  std::string manufacturer;
  std::string hardwareId;
  std::string physicalDeviceId;
  std::string driverDescription;
  std::string driverVersion;
  std::vector<VirtualMultiplex> multiplexes;
};

struct VirtualDescription {
  std::string path;
  std::vector<VirtualTuner> tuners;
};

constexpr const char* kVirtualMonikerPrefix = "virtualdvb:";

// Loads a description; nothing, with `error` set, when the file cannot be read
// or does not follow the format.
std::optional<VirtualDescription> LoadVirtualDescription(const std::string& path, std::string& error);

// Splits a virtual moniker into description path and tuner id.
bool ParseVirtualMoniker(const std::string& moniker, std::string& path, std::string& id);
