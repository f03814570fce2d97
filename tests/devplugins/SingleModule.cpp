// A vendor module offering one plug-in.
#include "FakeDevicePlugin.h"

extern "C" __attribute__((visibility("default"))) HRESULT CreateDevicePluginInstance(IKxDevicePlugin** plugin) {
  return MakeFakePlugin(plugin, 4 | 64, "zeta-satellite", "Zeta");
}
