#pragma once
// Helpers around the media-graph platform.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

namespace DSH {
// Creates the tuner filter a moniker name stands for: a Linux DVB frontend
// path ("/dev/dvb/adapterN/frontendM") or a virtual tuner ("virtualdvb:...").
HRESULT CreateFilterByMonikerName(BSTR monikerName, IUnknown** filter);
}  // namespace DSH
