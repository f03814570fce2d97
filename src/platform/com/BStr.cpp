#include "platform/com/BStr.h"

#include <cstdlib>
#include <cstring>

#include "platform/com/Utf.h"

namespace {
// The length in bytes sits in the four bytes before the characters.
uint32_t* Header(BSTR s) { return reinterpret_cast<uint32_t*>(s) - 1; }
}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  void* block = std::malloc(sizeof(uint32_t) + (static_cast<size_t>(length) + 1) * sizeof(OLECHAR));
  if (!block) return nullptr;
  *static_cast<uint32_t*>(block) = length * sizeof(OLECHAR);
  BSTR s = reinterpret_cast<BSTR>(static_cast<uint32_t*>(block) + 1);
  if (text)
    std::memcpy(s, text, length * sizeof(OLECHAR));
  else
    std::memset(s, 0, length * sizeof(OLECHAR));
  s[length] = 0;
  return s;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(std::char_traits<char16_t>::length(text)));
}

void SysFreeString(BSTR text) {
  if (text) std::free(Header(text));
}

UINT SysStringLen(BSTR text) { return text ? *Header(text) / sizeof(OLECHAR) : 0; }

std::string BStr::Utf8() const { return Utf16ToUtf8(View()); }

HRESULT BStr::CopyTo(BSTR* out) const { return AllocOutString(View(), out); }

HRESULT AllocOutString(std::u16string_view text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}
