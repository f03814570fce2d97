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

int RunDevices(IKxSystemConfiguration* configuration, std::FILE* out, std::vector<std::string>* listed) {
  LONG count = 0;
  if (!configuration || FAILED(configuration->get_DeviceCount(&count))) return 1;
  if (count == 0) std::fprintf(out, "No digital TV devices found.\n");
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxCaptureDevice> device;
    if (FAILED(configuration->GetDevice(i, device.Put()))) continue;
    LONG type = 0;
    device->get_DeviceType(&type);
    VARIANT_BOOL inUse = VARIANT_FALSE, lockedHere = VARIANT_FALSE;
    LONG level = 0;
    device->GetUsage(&inUse, &level, &lockedHere);
    std::fprintf(out, "%d: %s\n", static_cast<int>(i), Text(&IKxCaptureDevice::get_FriendlyName, device.Get()).c_str());
    std::fprintf(out, "   delivery system: %s\n", DeliverySystemOf(type));
    const std::string moniker = Text(&IKxCaptureDevice::get_MonikerName, device.Get());
    if (listed) listed->push_back(moniker);
    std::fprintf(out, "   moniker:         %s\n", moniker.c_str());
    std::fprintf(out, "   manufacturer:    %s\n", Text(&IKxCaptureDevice::get_Manufacturer, device.Get()).c_str());
    std::fprintf(out, "   hardware id:     %s\n", HardwareId(device.Get()).c_str());
    if (inUse)
      std::fprintf(out, "   in use:          yes (level %d%s)\n", static_cast<int>(level),
                   lockedHere ? ", locked here" : "");
    else
      std::fprintf(out, "   in use:          no\n");
  }
  return 0;
}
