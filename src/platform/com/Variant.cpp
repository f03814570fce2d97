#include "platform/com/Variant.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/com/Utf.h"

void VariantInit(VARIANT* v) {
  v->vt = VT_EMPTY;
  v->llVal = 0;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_POINTER;
  if (v->vt == VT_BSTR) SysFreeString(v->bstrVal);
  if (v->vt == VT_UNKNOWN && v->punkVal) v->punkVal->Release();
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_POINTER;
  if (dest == src) return S_OK;
  VARIANT copy = *src;
  if (src->vt == VT_BSTR && src->bstrVal) {
    copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  } else if (src->vt == VT_UNKNOWN && src->punkVal) {
    src->punkVal->AddRef();
  }
  VariantClear(dest);
  *dest = copy;
  return S_OK;
}

namespace {
bool ToInt64(const VARIANT& v, int64_t& out) {
  switch (v.vt) {
    case VT_EMPTY: out = 0; return true;
    case VT_I2: out = v.iVal; return true;
    case VT_I4: out = v.lVal; return true;
    case VT_I8: out = v.llVal; return true;
    case VT_BOOL: out = v.boolVal; return true;
    case VT_DATE: out = std::llround(v.date); return true;
    case VT_BSTR: {
      const std::string text =
          v.bstrVal ? Utf16ToUtf8(std::u16string_view(v.bstrVal, SysStringLen(v.bstrVal))) : std::string();
      char* end = nullptr;
      out = std::strtoll(text.c_str(), &end, 10);
      return !text.empty() && end && *end == '\0';
    }
    default: return false;
  }
}

bool FitsIn(int64_t value, int64_t lo, int64_t hi) { return value >= lo && value <= hi; }
}  // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, uint16_t, VARTYPE vt) {
  if (!dest || !src) return E_POINTER;
  Variant result;
  if (src->vt == vt) return VariantCopy(dest, src);
  if (vt == VT_BSTR) {
    int64_t value = 0;
    if (src->vt == VT_BOOL) {
      value = src->boolVal ? -1 : 0;
    } else if (src->vt == VT_UNKNOWN || !ToInt64(*src, value)) {
      return DISP_E_TYPEMISMATCH;
    }
    const std::u16string text = Utf8ToUtf16(std::to_string(value));
    result.vt = VT_BSTR;
    result.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result.bstrVal) return E_OUTOFMEMORY;
  } else {
    int64_t value = 0;
    if (!ToInt64(*src, value)) return DISP_E_TYPEMISMATCH;
    result.vt = vt;
    switch (vt) {
      case VT_EMPTY: break;
      case VT_I2:
        if (!FitsIn(value, INT16_MIN, INT16_MAX)) return DISP_E_TYPEMISMATCH;
        result.iVal = static_cast<int16_t>(value);
        break;
      case VT_I4:
        if (!FitsIn(value, INT32_MIN, INT32_MAX)) return DISP_E_TYPEMISMATCH;
        result.lVal = static_cast<int32_t>(value);
        break;
      case VT_I8: result.llVal = value; break;
      case VT_BOOL: result.boolVal = ToVariantBool(value != 0); break;
      case VT_DATE: result.date = static_cast<double>(value); break;
      default: result.vt = VT_EMPTY; return DISP_E_TYPEMISMATCH;
    }
  }
  VariantClear(dest);
  *dest = result;
  VariantInit(&result);
  return S_OK;
}

Variant::Variant(std::u16string_view text) {
  vt = VT_BSTR;
  bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

Variant::Variant(IUnknown* object) {
  vt = VT_UNKNOWN;
  punkVal = object;
  if (object) object->AddRef();
}
