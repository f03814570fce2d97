#pragma once
// The plug-in as a live command uses it: loaded through its exports, given
// the host's hardware configuration, with its capture devices found by what
// a person types.
#include <memory>
#include <string>
#include <vector>

#include "dtvhost/PluginLibrary.h"
#include "hwconfig/HWConfig.h"
#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/IKxChannel.h"

class PluginSession {
 public:
  // HostError when the plug-in cannot be loaded or refuses the configuration.
  PluginSession(const std::filesystem::path& pluginPath, const HWConfigOptions& hardware);
  // Hands the hardware configuration back before the module may go.
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  size_t DeviceCount() const;
  ComPtr<IKxCaptureDevice> Device(size_t index) const;
  // The DEVICE argument: number, friendly name or moniker; HostError otherwise.
  ComPtr<IKxCaptureDevice> FindDevice(const std::string& text) const;
  // The devices that can receive `channel`: its own device first, then the
  // others of its delivery system.
  std::vector<ComPtr<IKxCaptureDevice>> DevicesFor(IKxChannel* channel) const;

 private:
  PluginLibrary m_library;
  ComPtr<CHWConfig> m_hardware;
  ComPtr<IKxTvPlugin> m_plugin;
  ComPtr<IKxSystemConfiguration> m_system;
};

std::string MonikerOf(IKxCaptureDevice* device);
std::string FriendlyNameOf(IKxCaptureDevice* device);

// True when another process holds the device.
bool InUseElsewhere(IKxCaptureDevice* device);
// HostError "device NAME is in use by another process" when it is.
void RequireFreeDevice(IKxCaptureDevice* device);
