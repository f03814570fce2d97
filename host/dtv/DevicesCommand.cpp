#include "DevicesCommand.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "HardwareOptions.h"
#include "analyze/ChannelListJson.h"
#include "dtvhost/HostError.h"
#include "hwconfig/HWConfig.h"
#include "hwconfig/RunDevices.h"
#include "interfaces/IKxCaptureDevice.h"
#include "platform/bda/Topology.h"
#include "platform/com/Utf.h"

namespace {

// Devices the host offered that the plug-in did not list: it could not tell
// what they receive (its log has the details).
std::vector<std::string> NotTaken(IKxHWConfig* hwConfig, const std::vector<std::string>& listed) {
  std::vector<std::string> problems;
  const BStr category(Utf8ToUtf16(GuidToString(KSCATEGORY_BDA_NETWORK_TUNER)));
  LONG count = 0;
  if (FAILED(hwConfig->GetFilterCount(category.Get(), &count))) return problems;
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxFilterInfo> filter;
    BStr moniker, name;
    if (FAILED(hwConfig->GetFilterByIndex(category.Get(), i, filter.Put())) ||
        FAILED(filter->get_MonikerName(moniker.Put())) || FAILED(filter->get_FriendlyName(name.Put())))
      continue;
    if (std::find(listed.begin(), listed.end(), moniker.Utf8()) == listed.end())
      problems.push_back(name.Utf8() + " (" + moniker.Utf8() + ") was not recognised as a tuner by the plug-in");
  }
  return problems;
}

void PrintDevicesJson(const std::vector<DeviceListing>& devices) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (size_t i = 0; i < devices.size(); ++i) {
    const DeviceListing& d = devices[i];
    list.push_back({{"number", i},
                    {"name", d.friendlyName},
                    {"deliverySystem", d.deliverySystem},
                    {"moniker", d.moniker},
                    {"manufacturer", d.manufacturer},
                    {"hardwareId", d.hardwareId},
                    {"inUse", d.inUse},
                    {"lockLevel", d.inUse ? nlohmann::ordered_json(d.lockLevel) : nlohmann::ordered_json(nullptr)},
                    {"lockedHere", d.lockedHere}});
  }
  std::cout << JsonText(nlohmann::ordered_json{{"devices", list}}) << '\n';
}

int RunDevicesCommand(const HostOptions& options, const HWConfigOptions& hwOptions, bool json) {
  PluginLibrary library(options.PluginPath());
  const auto hwConfig = ComObject<CHWConfig>::Make(hwOptions);
  std::vector<std::string> problems = hwConfig->Problems();
  std::vector<std::string> listed;
  std::optional<std::vector<DeviceListing>> devices;
  {
    const ComPtr<IKxTvPlugin> plugin = library.CreatePlugin();
    if (FAILED(plugin->SetHardwareConfig(hwConfig.Get()))) throw HostError("the plug-in refused the hardware configuration");
    ComPtr<IUnknown> configuration;
    if (FAILED(plugin->CreateSystemConfiguration(configuration.Put())))
      throw HostError("the plug-in has no system configuration");
    const ComPtr<IKxSystemConfiguration> system = QueryAs<IKxSystemConfiguration>(configuration.Get());
    if (!system) throw HostError("the system configuration lacks its interface");
    devices = ListDevices(system.Get());
    plugin->ReleaseHardwareConfig();
  }
  if (!devices) throw HostError("the devices cannot be listed");
  for (const DeviceListing& device : *devices) listed.push_back(device.moniker);
  if (json)
    PrintDevicesJson(*devices);
  else
    PrintDevices(*devices, stdout);
  for (std::string& problem : NotTaken(hwConfig.Get(), listed)) problems.push_back(std::move(problem));
  for (const std::string& problem : problems) std::fprintf(stderr, "dtv: %s\n", problem.c_str());
  return problems.empty() ? 0 : 1;
}

}  // namespace

void AddDevicesCommand(CLI::App& app, HostOptions& options) {
  auto* command = app.add_subcommand("devices", "List the tuner devices: Linux DVB adapters and virtual tuners");
  auto hwOptions = AddHardwareOptions(command);
  auto json = std::make_shared<bool>(false);
  command->add_flag("--json", *json, "Print one JSON object");
  command->callback([&options, hwOptions, json] {
    if (const int status = RunDevicesCommand(options, *hwOptions, *json); status != 0)
      throw CLI::RuntimeError(status);
  });
}
