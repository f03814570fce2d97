#include "live/TuningDataObjects.h"

#include "platform/com/Variant.h"

namespace {
template <typename List>
bool InRange(const List& list, LONG index) {
  return index >= 0 && static_cast<size_t>(index) < list.size();
}
}  // namespace

HRESULT CHostStringList::get_Count(LONG* count) {
  if (!count) return E_POINTER;
  *count = static_cast<LONG>(m_strings.size());
  return S_OK;
}

HRESULT CHostStringList::get_StringByIndex(LONG index, BSTR* text) {
  if (!text) return E_POINTER;
  if (!InRange(m_strings, index)) return E_INVALIDARG;
  return AllocOutString(m_strings[static_cast<size_t>(index)], text);
}

HRESULT CHostTuningItem::get_Property(BSTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  const auto found = m_properties.find(std::u16string(name, SysStringLen(name)));
  if (found == m_properties.end()) return E_INVALIDARG;
  VariantInit(value);
  const Variant number(found->second);
  return VariantCopy(value, &number);
}

HRESULT CHostTuningItemList::get_Count(LONG* count) {
  if (!count) return E_POINTER;
  *count = static_cast<LONG>(m_items.size());
  return S_OK;
}

HRESULT CHostTuningItemList::get_ItemByIndex(LONG index, IKxTuningItem** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  if (!InRange(m_items, index)) return E_INVALIDARG;
  auto object = ComObject<CHostTuningItem>::Make(m_items[static_cast<size_t>(index)]);
  if (!object) return E_OUTOFMEMORY;
  *item = object.Detach();
  return S_OK;
}
