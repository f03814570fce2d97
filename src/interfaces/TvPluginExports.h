#pragma once
// The two functions a plug-in module exports, looked up by these names.
#include "platform/com/Types.h"

inline constexpr const char* kCreateTvPluginInstanceName = "CreateTvPluginInstance";
inline constexpr const char* kDllCanUnloadNowName = "DllCanUnloadNow";

// Hands out the plug-in object's IKxTvPlugin.
using CreateTvPluginInstanceFn = HRESULT (*)(void** ppPlugin);
// S_OK when no object of the module is alive, else S_FALSE.
using DllCanUnloadNowFn = HRESULT (*)();
