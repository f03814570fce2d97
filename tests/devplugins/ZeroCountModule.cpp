// A module whose indexed scheme offers nothing, so its single-instance export is used.
#include "FakeDevicePlugin.h"

extern "C" __attribute__((visibility("default"))) HRESULT GetDevicePluginCount(LONG* count) {
  *count = 0;
  return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT CreateDevicePluginInstanceByIndex(LONG,
                                                                                          IKxDevicePlugin**) {
  return E_FAIL;
}

extern "C" __attribute__((visibility("default"))) HRESULT CreateDevicePluginInstance(IKxDevicePlugin** plugin) {
  return MakeFakePlugin(plugin, 64, "acme-ca", "acme digital");
}
