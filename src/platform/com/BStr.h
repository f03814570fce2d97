#pragma once
// Length-prefixed UTF-16 strings as they cross interfaces (the receiver of an
// out string frees it), and an owning wrapper.
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/Types.h"

using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// Allocates a copy of `length` characters; the result is zero-terminated and
// knows its length. Null only when out of memory.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
BSTR SysAllocString(const OLECHAR* text);
void SysFreeString(BSTR text);
// Characters in the string (0 for null).
UINT SysStringLen(BSTR text);

class BStr {
 public:
  BStr() = default;
  explicit BStr(std::u16string_view text) : m_s(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  BStr(const BStr& other) : BStr(other.View()) {}
  BStr(BStr&& other) noexcept : m_s(std::exchange(other.m_s, nullptr)) {}
  ~BStr() { SysFreeString(m_s); }
  BStr& operator=(BStr other) noexcept {
    std::swap(m_s, other.m_s);
    return *this;
  }

  // Takes over a string the caller owns.
  static BStr Attach(BSTR s) {
    BStr b;
    b.m_s = s;
    return b;
  }
  BSTR Detach() { return std::exchange(m_s, nullptr); }
  BSTR Get() const { return m_s; }
  // Address for an out parameter; frees what was held.
  BSTR* Put() {
    SysFreeString(std::exchange(m_s, nullptr));
    return &m_s;
  }
  UINT Length() const { return SysStringLen(m_s); }
  std::u16string_view View() const { return m_s ? std::u16string_view(m_s, Length()) : std::u16string_view(); }
  std::string Utf8() const;

  // Hands a fresh copy to an out parameter.
  HRESULT CopyTo(BSTR* out) const;

 private:
  BSTR m_s = nullptr;
};

// Allocates a string for an out parameter: E_POINTER for null, E_OUTOFMEMORY
// when it cannot be had.
HRESULT AllocOutString(std::u16string_view text, BSTR* out);
