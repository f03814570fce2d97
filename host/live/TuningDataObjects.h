#pragma once
// The host's tuning-data pieces the tuner reads: a list of group names, a
// list of transponders and one transponder's properties.
#include <map>
#include <string>
#include <vector>

#include "interfaces/IKxTuningData.h"
#include "platform/com/ComObject.h"

class CHostStringList : public IKxStringList {
 public:
  using InterfaceMap = ::InterfaceMap<IKxStringList>;
  explicit CHostStringList(std::vector<std::u16string> strings) : m_strings(std::move(strings)) {}
  virtual ~CHostStringList() = default;

  HRESULT get_Count(LONG* count) override;
  HRESULT get_StringByIndex(LONG index, BSTR* text) override;

 private:
  std::vector<std::u16string> m_strings;
};

// KxTuningItemProperty_* names and their 32-bit values.
using TuningItemProperties = std::map<std::u16string, int32_t>;

class CHostTuningItem : public IKxTuningItem {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuningItem>;
  explicit CHostTuningItem(TuningItemProperties properties) : m_properties(std::move(properties)) {}
  virtual ~CHostTuningItem() = default;

  // A property the transponder does not name is E_INVALIDARG.
  HRESULT get_Property(BSTR name, VARIANT* value) override;

 private:
  TuningItemProperties m_properties;
};

class CHostTuningItemList : public IKxTuningItemList {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuningItemList>;
  explicit CHostTuningItemList(std::vector<TuningItemProperties> items) : m_items(std::move(items)) {}
  virtual ~CHostTuningItemList() = default;

  HRESULT get_Count(LONG* count) override;
  HRESULT get_ItemByIndex(LONG index, IKxTuningItem** item) override;

 private:
  std::vector<TuningItemProperties> m_items;
};
