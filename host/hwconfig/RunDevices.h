#pragma once
// "dtv devices": every device of the plug-in's system configuration.
#include <cstdio>

#include "interfaces/IKxCaptureDevice.h"

// Prints friendly name, delivery system, moniker, manufacturer, hardware id
// and usage of each device to `out`; 0, or 1 when the devices cannot be listed.
int RunDevices(IKxSystemConfiguration* configuration, std::FILE* out);
