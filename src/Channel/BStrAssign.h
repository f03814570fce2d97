#pragma once
// Copies a string into an owned one; only memory can fail.
#include "platform/com/BStr.h"

inline HRESULT AssignBStr(BStr& target, std::u16string_view text) {
  BStr copy(text);
  if (!copy.Get()) return E_OUTOFMEMORY;
  target = std::move(copy);
  return S_OK;
}

inline HRESULT AssignBStr(BStr& target, BSTR value) {
  return AssignBStr(target, value ? std::u16string_view(value, SysStringLen(value)) : std::u16string_view());
}
