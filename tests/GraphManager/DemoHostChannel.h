#pragma once
// The first TV service of a demo multiplex as the host stores it: a DVB-T
// TV channel at the given frequency.
#include <string>

#include "Channel/KxChannel.h"
#include "interfaces/IKxChannel.h"
#include "platform/com/ComPtr.h"

ComPtr<IKxChannel> DemoChannel(const std::string& file, LONG frequencyKHz);
// Describes `channel` as that service.
void DescribeDemoChannel(CKxChannel* channel, const std::string& file, LONG frequencyKHz);
