#include "DSH/DSH.h"

#include "platform/com/Utf.h"
#include "platform/linuxdvb/LinuxDvbTunerFilter.h"
#include "platform/virtualdvb/VirtualTunerFilter.h"

namespace DSH {
HRESULT CreateFilterByMonikerName(BSTR monikerName, IUnknown** filter) {
  if (!monikerName || !filter) return E_POINTER;
  *filter = nullptr;
  const std::string moniker = Utf16ToUtf8(std::u16string_view(monikerName, SysStringLen(monikerName)));
  if (moniker.rfind(kVirtualMonikerPrefix, 0) == 0) return CVirtualTunerFilter::Create(moniker, filter);
  int adapter = 0, frontend = 0;
  if (ParseFrontendPath(moniker, adapter, frontend)) return CLinuxDvbTunerFilter::Create(moniker, filter);
  return E_INVALIDARG;
}
}  // namespace DSH
