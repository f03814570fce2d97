#pragma once
// "dtv devices": every device of the plug-in's system configuration.
#include <cstdio>

#include "interfaces/IKxCaptureDevice.h"

#include <string>
#include <vector>

// Prints friendly name, delivery system, moniker, manufacturer, hardware id
// and usage of each device to `out`; 0, or 1 when the devices cannot be
// listed. `listed` receives the monikers printed.
int RunDevices(IKxSystemConfiguration* configuration, std::FILE* out, std::vector<std::string>* listed = nullptr);
