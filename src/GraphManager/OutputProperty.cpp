#include "GraphManager/OutputProperty.h"

#include <array>

namespace {
constexpr LONG kFirst = 1, kLast = 26;
constexpr LONG kKeptOutside = 20;
constexpr LONG kFramesPerSecond = 6;  // stored as a frame duration
constexpr LONG kFrameDuration64 = 23;
constexpr int64_t kSecond = 10000000;  // 100 ns units

struct Mapping {
  LONG setting;
  bool zeroRemoves;
};
// By property id 1..26 (0 for the one kept outside the settings).
constexpr std::array<Mapping, 26> kMappings{{
    {16, false}, {2, false},  {6, false},  {7, false},  {9, false},  {10, false}, {8, false},
    {19, false}, {18, false}, {17, false}, {29, true},  {12, false}, {30, true},  {31, false},
    {32, true},  {34, true},  {14, false}, {11, false}, {33, true},  {0, false},  {27, false},
    {13, false}, {10, false}, {35, true},  {36, true},  {15, true},
}};

const Mapping& MappingOf(LONG id) { return kMappings[static_cast<size_t>(id - kFirst)]; }
}  // namespace

HRESULT COutputProperties::Put(LONG id, const VARIANT& value) {
  if (id < kFirst || id > kLast) return E_INVALIDARG;
  Variant converted;
  const HRESULT hr = VariantChangeType(&converted, &value, 0, id == kFrameDuration64 ? VT_I8 : VT_I4);
  if (FAILED(hr)) return hr;
  const int64_t number = id == kFrameDuration64 ? converted.llVal : converted.lVal;
  if (id == kKeptOutside) {
    m_property20 = number == 0;
    return hr;
  }
  const Mapping& mapping = MappingOf(id);
  if (mapping.zeroRemoves && number == 0)
    m_settings.Remove(mapping.setting);
  else if (id == kFramesPerSecond && number >= 1)
    m_settings.SetNumber(mapping.setting, kSecond / number);
  else
    m_settings.SetNumber(mapping.setting, number);
  return hr;
}

HRESULT COutputProperties::Get(LONG id, VARIANT* value) const {
  if (!value) return E_POINTER;
  if (id < kFirst || id > kLast) return E_INVALIDARG;
  VariantClear(value);
  if (id == kFrameDuration64) {
    value->vt = VT_I8;
    value->llVal = m_settings.Number(MappingOf(id).setting);
    return S_OK;
  }
  int64_t number = id == kKeptOutside ? (m_property20 ? 0 : 1) : m_settings.Number(MappingOf(id).setting);
  if (id == kFramesPerSecond && number >= 1) number = kSecond / number;
  value->vt = VT_I4;
  value->lVal = static_cast<int32_t>(number);
  return S_OK;
}
