#include "DSH/DSH.h"

#include <new>

#include "platform/com/Utf.h"
#include "platform/linuxdvb/LinuxDvbTunerFilter.h"
#include "platform/virtualdvb/VirtualTunerFilter.h"

namespace DSH {
HRESULT CreateFilterByMonikerName(BSTR monikerName, IUnknown** filter) {
  if (!monikerName || !filter) return E_POINTER;
  *filter = nullptr;
  // Whatever fails below (allocation, the moniker's pattern) must not cross this call.
  try {
    const std::string moniker = Utf16ToUtf8(std::u16string_view(monikerName, SysStringLen(monikerName)));
    if (moniker.rfind(kVirtualMonikerPrefix, 0) == 0) return CVirtualTunerFilter::Create(moniker, filter);
    int adapter = 0, frontend = 0;
    if (ParseFrontendPath(moniker, adapter, frontend)) return CLinuxDvbTunerFilter::Create(moniker, filter);
    return E_INVALIDARG;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}
}  // namespace DSH
