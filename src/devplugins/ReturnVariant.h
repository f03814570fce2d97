#pragma once
// Hands a value to an out variant: the caller's variant is cleared and the
// value moved in, so nothing is copied and nothing can fail.
#include "platform/com/Variant.h"

inline void ReturnVariant(Variant& value, VARIANT* out) {
  VariantClear(out);
  *out = value;
  VariantInit(&value);
}
