#pragma once
// Per-device values that outlive the graph managers of a device: the last
// video format seen and the streams of the last tuned channel. Keyed by the
// device's moniker name; a missing value reads as 0.
#include <cstdint>
#include <string>

#include "platform/com/Types.h"

enum KxDeviceRecord : LONG {
  KxDeviceRecord_VideoWidth = 8,
  KxDeviceRecord_VideoHeight = 9,
  KxDeviceRecord_FrameDuration = 10,
  KxDeviceRecord_AspectRatioX = 11,
  KxDeviceRecord_AspectRatioY = 12,
  KxDeviceRecord_HighDefinition = 13,
  KxDeviceRecord_Ac3 = 14,
  KxDeviceRecord_VideoPid = 15,
  KxDeviceRecord_AudioPid = 16,
  KxDeviceRecord_VideoStreamType = 17,
  KxDeviceRecord_AudioStreamType = 18,
};

namespace DeviceRecordTable {
int64_t Get(const std::u16string& device, LONG id);
bool Has(const std::u16string& device, LONG id);
void Set(const std::u16string& device, LONG id, int64_t value);
}  // namespace DeviceRecordTable
