#pragma once
// PID information objects a host hands to a channel's AddPidInfo.
#include <string>

#include "interfaces/IKxPidInfo.h"
#include "platform/com/ComPtr.h"

ComPtr<IKxPidInfo> VideoPidInfo(LONG pid, LONG streamType);
ComPtr<IKxPidInfo> AudioPidInfo(LONG pid, LONG streamType, const std::string& language, bool ac3);
ComPtr<IKxPidInfo> TeletextPidInfo(LONG pid, LONG streamType, const std::string& language, LONG teletextType,
                                   LONG magazine, LONG page);
ComPtr<IKxPidInfo> PmtPidInfo(LONG pid);
ComPtr<IKxPidInfo> OtherPidInfo(LONG pid, LONG streamType);
