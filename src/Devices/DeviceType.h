#pragma once
// Device types and how a tuner filter's topology tells them.
#include "interfaces/IKxCaptureDevice.h"

// "Atsc", "Dvbt", "Dvbs", "Dvbc", else "???".
const char* DeviceTypeName(LONG type);

// Instantiates the filter of a moniker and reads the type from the first
// demodulator node of its topology; 0 when there is none or anything fails.
LONG DetectDeviceType(BSTR monikerName);
