#pragma once
// Tagged values for property access and device-plug-in parameters.
#include <cstdint>

#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

using VARTYPE = uint16_t;
enum : VARTYPE {
  VT_EMPTY = 0,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_BOOL = 11,
  VT_UNKNOWN = 13,
  VT_I8 = 20,
};

struct VARIANT {
  VARTYPE vt;
  union {
    int16_t iVal;
    int32_t lVal;
    int64_t llVal;
    VARIANT_BOOL boolVal;
    BSTR bstrVal;
    IUnknown* punkVal;
    DATE date;
  };
};

void VariantInit(VARIANT* v);
// Frees what the variant owns and leaves it empty.
HRESULT VariantClear(VARIANT* v);
// Deep copy: strings are duplicated, object references taken.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Converts between the numeric types, booleans, dates and strings.
// DISP_E_TYPEMISMATCH when no conversion exists.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, uint16_t flags, VARTYPE vt);

// Owning variant.
class Variant : public VARIANT {
 public:
  Variant() { VariantInit(this); }
  explicit Variant(int32_t value) {
    vt = VT_I4;
    lVal = value;
  }
  explicit Variant(bool value) {
    vt = VT_BOOL;
    boolVal = ToVariantBool(value);
  }
  explicit Variant(std::u16string_view text);
  explicit Variant(IUnknown* object);
  Variant(const Variant& other) : Variant() { VariantCopy(this, &other); }
  Variant& operator=(const Variant& other) {
    if (this != &other) VariantCopy(this, &other);
    return *this;
  }
  ~Variant() { VariantClear(this); }
};
