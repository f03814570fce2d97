#pragma once
// The two halves of a simple property across an interface.
#include "platform/com/Types.h"

// Hands `value` to an out parameter; E_POINTER for null.
template <class T>
HRESULT GetProperty(T* out, T value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

template <class T>
HRESULT PutProperty(T& target, T value) {
  target = value;
  return S_OK;
}
