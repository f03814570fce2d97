#pragma once
// The stored channels as the host holds them: channel objects, used only
// through their host interfaces.
#include <vector>

#include "interfaces/IKxChannel.h"
#include "platform/com/ComPtr.h"

using ChannelList = std::vector<ComPtr<IKxChannel>>;

// A new channel object with every property at its default.
ComPtr<IKxChannel> NewChannel();
