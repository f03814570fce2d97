#include "devplugins/BuiltInDevicePlugins.h"

#include "devplugins/DefaultPlugin.h"

std::vector<ComPtr<IKxDevicePlugin>> BuiltInDevicePlugins() {
  std::vector<ComPtr<IKxDevicePlugin>> plugins;
  ComPtr<IKxDevicePlugin> defaultPlugin;
  if (SUCCEEDED(CDefaultPlugin::CreateInstance(defaultPlugin.Put()))) plugins.push_back(std::move(defaultPlugin));
  return plugins;
}
