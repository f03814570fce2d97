#pragma once
// Builds tuning data from XML text and reads it back through the host's interfaces.
#include <gtest/gtest.h>

#include <locale>
#include <string>
#include <string_view>
#include <vector>

#include "Tuner/FrequencyListResource.h"
#include "Tuner/KxTuningData.h"
#include "platform/com/Utf.h"

using TuningDataPtr = ComPtr<ComObject<CKxTuningData>>;

inline BStr Wide(std::string_view text) { return BStr(Utf8ToUtf16(text)); }

// Classic collation keeps the group order independent of the machine's locale.
inline TuningDataPtr NewTuningData(const std::locale& locale = std::locale::classic()) {
  TuningDataPtr data = ComObject<CKxTuningData>::Make(locale);
  EXPECT_TRUE(data);
  return data;
}

inline HRESULT Load(CKxTuningData* data, const char16_t* type, std::string_view xml) {
  return data->InitializeByString(BStr(type).Get(), Wide(xml).Get());
}

inline TuningDataPtr LoadBuiltIn(int id, const char16_t* type) {
  TuningDataPtr data = NewTuningData();
  EXPECT_EQ(Load(data.Get(), type, FindFrequencyListResource(id)), S_OK) << "list " << id;
  return data;
}

inline std::vector<std::u16string> GroupNames(IKxTuningData* data) {
  std::vector<std::u16string> names;
  ComPtr<IKxStringList> list;
  if (data->GetGroupList(list.Put()) != S_OK) return names;
  LONG count = 0;
  EXPECT_EQ(list->get_Count(&count), S_OK);
  for (LONG i = 0; i < count; ++i) {
    BStr name;
    EXPECT_EQ(list->get_StringByIndex(i, name.Put()), S_OK);
    names.emplace_back(name.View());
  }
  return names;
}

inline int32_t Property(IKxTuningItem* item, const char16_t* name) {
  Variant value;
  EXPECT_EQ(item->get_Property(BStr(name).Get(), &value), S_OK);
  EXPECT_EQ(value.vt, VT_I4);
  return value.lVal;
}

inline KxTuningParam ItemParam(IKxTuningItem* item) {
  KxTuningParam param;
  param.nFrequency = Property(item, KxTuningItemProperty_Frequency);
  param.nSymbolRate = Property(item, KxTuningItemProperty_SymbolRate);
  param.nPolarisation = Property(item, KxTuningItemProperty_Polarisation);
  param.nModulation = Property(item, KxTuningItemProperty_Modulation);
  param.nBandwidth = Property(item, KxTuningItemProperty_Bandwidth);
  param.nInnerFec = Property(item, KxTuningItemProperty_InnerFec);
  param.nPilot = Property(item, KxTuningItemProperty_Pilot);
  param.nRolloff = Property(item, KxTuningItemProperty_Rolloff);
  return param;
}

inline std::vector<KxTuningParam> ListParams(IKxTuningItemList* list) {
  std::vector<KxTuningParam> params;
  LONG count = 0;
  EXPECT_EQ(list->get_Count(&count), S_OK);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxTuningItem> item;
    EXPECT_EQ(list->get_ItemByIndex(i, item.Put()), S_OK);
    if (item) params.push_back(ItemParam(item.Get()));
  }
  return params;
}

// The items of one group; empty when the group cannot be had.
inline std::vector<KxTuningParam> GroupParams(IKxTuningData* data, std::string_view group) {
  ComPtr<IKxTuningItemList> list;
  if (data->GetTuningItemListByGroup(Wide(group).Get(), list.Put()) != S_OK) return {};
  return ListParams(list.Get());
}

inline KxTuningParam Param(int32_t frequency, int32_t bandwidth = -1) {
  KxTuningParam param;
  param.nFrequency = frequency;
  param.nBandwidth = bandwidth;
  return param;
}

inline void PrintTo(const KxTuningParam& p, std::ostream* os) {
  *os << "{f=" << p.nFrequency << " sr=" << p.nSymbolRate << " pol=" << p.nPolarisation << " mod=" << p.nModulation
      << " bw=" << p.nBandwidth << " fec=" << p.nInnerFec << " pilot=" << p.nPilot << " rolloff=" << p.nRolloff << "}";
}
