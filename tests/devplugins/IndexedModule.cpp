// A vendor module offering plug-ins by index; the second one fails Init.
#include "FakeDevicePlugin.h"

extern "C" __attribute__((visibility("default"))) HRESULT GetDevicePluginCount(LONG* count) {
  *count = 2;
  return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT CreateDevicePluginInstanceByIndex(
    LONG index, IKxDevicePlugin** plugin) {
  if (index == 0) return MakeFakePlugin(plugin, 8 | 16, "acme-terrestrial", "ACME");
  return MakeFakePlugin(plugin, 32, "acme-broken", "ACME", E_FAIL);
}
