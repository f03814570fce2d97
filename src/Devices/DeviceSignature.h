#pragma once
// What a device is, told cheaply and without creating its filter: for a
// Linux DVB frontend its driver name and delivery systems, for a virtual
// tuner the delivery system its description gives it. A cached type is
// good only for a device with the same signature.
#include <map>
#include <optional>
#include <string>

#include "platform/virtualdvb/VirtualDescription.h"

// One per listing: each virtual-tuner description is read once.
class DeviceSignatures {
 public:
  // Empty when the device cannot be asked (it is then detected anew).
  std::string Of(const std::string& moniker);

 private:
  std::map<std::string, std::optional<VirtualDescription>> m_descriptions;
};
