#include "live/PluginSession.h"

#include <fmt/format.h>

#include "channels/ChannelProperties.h"
#include "channels/DeliverySystem.h"
#include "dtvhost/DeviceLookup.h"
#include "dtvhost/HostError.h"
#include "platform/com/ComObject.h"

namespace {
std::string Text(IKxCaptureDevice* device, HRESULT (IKxCaptureDevice::*get)(BSTR*)) {
  BStr value;
  return device && SUCCEEDED((device->*get)(value.Put())) ? value.Utf8() : std::string();
}

std::optional<LONG> DeviceTypeOf(std::optional<PsiRenderer_NetworkType> system) {
  if (!system) return std::nullopt;
  switch (*system) {
    case PsiRenderer_NetworkType_Dvbs: return KxCaptureDeviceType_Dvbs;
    case PsiRenderer_NetworkType_Dvbc: return KxCaptureDeviceType_Dvbc;
    case PsiRenderer_NetworkType_Dvbt: return KxCaptureDeviceType_Dvbt;
    case PsiRenderer_NetworkType_Atsc: return KxCaptureDeviceType_Atsc;
  }
  return std::nullopt;
}
}  // namespace

std::string MonikerOf(IKxCaptureDevice* device) { return Text(device, &IKxCaptureDevice::get_MonikerName); }
std::string FriendlyNameOf(IKxCaptureDevice* device) { return Text(device, &IKxCaptureDevice::get_FriendlyName); }

PluginSession::PluginSession(const std::filesystem::path& pluginPath, const HWConfigOptions& hardware)
    : m_library(pluginPath) {
  m_hardware = ComObject<CHWConfig>::Make(hardware);
  for (const std::string& problem : m_hardware->Problems()) fmt::print(stderr, "dtv: {}\n", problem);
  m_plugin = m_library.CreatePlugin();
  if (FAILED(m_plugin->SetHardwareConfig(m_hardware.Get())))
    throw HostError("the plug-in refused the hardware configuration");
  ComPtr<IUnknown> configuration;
  if (FAILED(m_plugin->CreateSystemConfiguration(configuration.Put())))
    throw HostError("the plug-in has no system configuration");
  m_system = QueryAs<IKxSystemConfiguration>(configuration.Get());
  if (!m_system) throw HostError("the system configuration lacks its interface");
}

PluginSession::~PluginSession() {
  m_system = nullptr;
  if (m_plugin) m_plugin->ReleaseHardwareConfig();
  m_plugin = nullptr;
}

size_t PluginSession::DeviceCount() const {
  LONG count = 0;
  return SUCCEEDED(m_system->get_DeviceCount(&count)) && count > 0 ? static_cast<size_t>(count) : 0;
}

ComPtr<IKxCaptureDevice> PluginSession::Device(size_t index) const {
  ComPtr<IKxCaptureDevice> device;
  if (FAILED(m_system->GetDevice(static_cast<LONG>(index), device.Put()))) return {};
  return device;
}

ComPtr<IKxCaptureDevice> PluginSession::FindDevice(const std::string& text) const {
  std::vector<DeviceName> names;
  for (size_t i = 0; i < DeviceCount(); ++i) {
    const ComPtr<IKxCaptureDevice> device = Device(i);
    names.push_back({FriendlyNameOf(device.Get()), MonikerOf(device.Get())});
  }
  std::string error;
  const std::optional<size_t> index = ::FindDevice(names, text, error);
  if (!index) throw HostError(error);
  ComPtr<IKxCaptureDevice> device = Device(*index);
  if (!device) throw HostError(fmt::format("device '{}' cannot be opened", text));
  return device;
}

std::vector<ComPtr<IKxCaptureDevice>> PluginSession::DevicesFor(IKxChannel* channel) const {
  const std::string own = TextOf(channel, &IKxChannel::get_VideoDevice);
  const std::optional<LONG> type = DeviceTypeOf(NetworkTypeOfChannel(LongOf(channel, &IKxChannel::get_Type)));
  std::vector<ComPtr<IKxCaptureDevice>> first, others;
  for (size_t i = 0; i < DeviceCount(); ++i) {
    ComPtr<IKxCaptureDevice> device = Device(i);
    if (!device) continue;
    LONG deviceType = 0;
    device->get_DeviceType(&deviceType);
    if (!own.empty() && MonikerOf(device.Get()) == own)
      first.push_back(device);
    else if (type && deviceType == *type)
      others.push_back(device);
  }
  for (ComPtr<IKxCaptureDevice>& device : others) first.push_back(std::move(device));
  return first;
}

bool InUseElsewhere(IKxCaptureDevice* device) {
  VARIANT_BOOL inUse = VARIANT_FALSE, lockedHere = VARIANT_FALSE;
  LONG level = 0;
  return SUCCEEDED(device->GetUsage(&inUse, &level, &lockedHere)) && inUse != VARIANT_FALSE &&
         lockedHere == VARIANT_FALSE;
}

void RequireFreeDevice(IKxCaptureDevice* device) {
  if (InUseElsewhere(device))
    throw HostError(fmt::format("device '{}' is in use by another process", FriendlyNameOf(device)));
}
