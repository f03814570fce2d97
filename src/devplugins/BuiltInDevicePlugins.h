#pragma once
// The built-in device plug-ins a graph manager hands its plug-in manager:
// the default plug-in, which tunes every delivery system.
#include <vector>

#include "interfaces/IKxDevicePlugin.h"
#include "platform/com/ComPtr.h"

std::vector<ComPtr<IKxDevicePlugin>> BuiltInDevicePlugins();
