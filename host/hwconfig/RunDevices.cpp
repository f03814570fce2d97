#include "hwconfig/RunDevices.h"

#include "platform/com/ComPtr.h"

namespace {
const char* DeliverySystemOf(LONG type) {
  switch (type) {
    case KxCaptureDeviceType_Atsc: return "ATSC";
    case KxCaptureDeviceType_Dvbt: return "DVB-T";
    case KxCaptureDeviceType_Dvbs: return "DVB-S";
    case KxCaptureDeviceType_Dvbc: return "DVB-C";
    default: return "unknown";
  }
}

std::string Text(HRESULT (IKxCaptureDevice::*get)(BSTR*), IKxCaptureDevice* device) {
  BStr value;
  return SUCCEEDED((device->*get)(value.Put())) ? value.Utf8() : std::string();
}

std::string HardwareId(IKxCaptureDevice* device) {
  const auto extra = QueryAs<IKxDeviceExtraInfo>(device);
  Variant value;
  if (!extra || FAILED(extra->GetExtraInfo(KxDeviceExtraInfo_HardwareID, &value)) || value.vt != VT_BSTR) return {};
  return BStr(std::u16string_view(value.bstrVal, SysStringLen(value.bstrVal))).Utf8();
}
}  // namespace

std::optional<std::vector<DeviceListing>> ListDevices(IKxSystemConfiguration* configuration) {
  LONG count = 0;
  if (!configuration || FAILED(configuration->get_DeviceCount(&count))) return std::nullopt;
  std::vector<DeviceListing> devices;
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxCaptureDevice> device;
    if (FAILED(configuration->GetDevice(i, device.Put()))) continue;
    LONG type = 0;
    device->get_DeviceType(&type);
    VARIANT_BOOL inUse = VARIANT_FALSE, lockedHere = VARIANT_FALSE;
    LONG level = 0;
    device->GetUsage(&inUse, &level, &lockedHere);
    devices.push_back({Text(&IKxCaptureDevice::get_FriendlyName, device.Get()), DeliverySystemOf(type),
                       Text(&IKxCaptureDevice::get_MonikerName, device.Get()),
                       Text(&IKxCaptureDevice::get_Manufacturer, device.Get()), HardwareId(device.Get()),
                       inUse != VARIANT_FALSE, static_cast<long>(level), lockedHere != VARIANT_FALSE});
  }
  return devices;
}

void PrintDevices(const std::vector<DeviceListing>& devices, std::FILE* out) {
  if (devices.empty()) std::fprintf(out, "No digital TV devices found.\n");
  for (size_t i = 0; i < devices.size(); ++i) {
    const DeviceListing& d = devices[i];
    std::fprintf(out, "%zu: %s\n", i, d.friendlyName.c_str());
    std::fprintf(out, "   delivery system: %s\n", d.deliverySystem.c_str());
    std::fprintf(out, "   moniker:         %s\n", d.moniker.c_str());
    std::fprintf(out, "   manufacturer:    %s\n", d.manufacturer.c_str());
    std::fprintf(out, "   hardware id:     %s\n", d.hardwareId.c_str());
    if (d.inUse)
      std::fprintf(out, "   in use:          yes (level %ld%s)\n", d.lockLevel, d.lockedHere ? ", locked here" : "");
    else
      std::fprintf(out, "   in use:          no\n");
  }
}
