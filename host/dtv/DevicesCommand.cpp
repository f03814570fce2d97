#include "DevicesCommand.h"

#include <cstdio>

#include "dtvhost/HostError.h"
#include "hwconfig/HWConfig.h"
#include "hwconfig/RunDevices.h"
#include "interfaces/IKxCaptureDevice.h"
#include "platform/virtualdvb/VirtualDescription.h"

namespace {

// Descriptions the user names must load: a broken one is an error, not an empty list.
void CheckDescriptions(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    std::string error;
    if (!LoadVirtualDescription(path, error)) throw HostError(error);
  }
}

int RunDevicesCommand(const HostOptions& options, const HWConfigOptions& hwOptions) {
  CheckDescriptions(hwOptions.virtualDescriptions);
  PluginLibrary library(options.PluginPath());
  int result = 1;
  {
    const ComPtr<IKxTvPlugin> plugin = library.CreatePlugin();
    ComPtr<IKxHWConfig> hwConfig;
    if (FAILED(CreateHWConfig(hwOptions, hwConfig.Put()))) throw HostError("cannot read the hardware configuration");
    if (FAILED(plugin->SetHardwareConfig(hwConfig.Get()))) throw HostError("the plug-in refused the hardware configuration");
    ComPtr<IUnknown> configuration;
    if (FAILED(plugin->CreateSystemConfiguration(configuration.Put())))
      throw HostError("the plug-in has no system configuration");
    const ComPtr<IKxSystemConfiguration> system = QueryAs<IKxSystemConfiguration>(configuration.Get());
    if (!system) throw HostError("the system configuration lacks its interface");
    result = RunDevices(system.Get(), stdout);
    plugin->ReleaseHardwareConfig();
  }
  return result;
}

}  // namespace

void AddDevicesCommand(CLI::App& app, HostOptions& options) {
  auto* command = app.add_subcommand("devices", "List the tuner devices: Linux DVB adapters and virtual tuners");
  auto hwOptions = std::make_shared<HWConfigOptions>();
  command->add_option("--virtual-tuners", hwOptions->virtualDescriptions,
                      "Further virtual-tuner description files (XML)");
  command->add_flag("--no-demo", [hwOptions](int64_t) { hwOptions->defaultVirtualTuners = false; },
                    "Leave out the bundled demo tuners");
  command->add_option("--dev-root", hwOptions->devRoot, "Root of the device tree (default /dev)");
  command->add_option("--sys-root", hwOptions->sysRoot, "Root of sysfs (default /sys)");
  command->callback([&options, hwOptions] {
    if (RunDevicesCommand(options, *hwOptions) != 0) throw HostError("the devices cannot be listed");
  });
}
