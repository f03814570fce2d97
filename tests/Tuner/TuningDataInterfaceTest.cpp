// The host's view of tuning data: argument checks, bounds and group order.
#include "Tuner/KxStringList.h"
#include "TuningDataSupport.h"

namespace {

constexpr const char* kTwoNetworks =
    "<NetworkType name=\"DVB-T\"><Network name=\"b\"><param frequency=\"1\" bandwidth=\"8\"/></Network>"
    "<Network name=\"B\"><param frequency=\"2\" bandwidth=\"7\"/></Network>"
    "<Network name=\"a\"><param frequency=\"3\" bandwidth=\"6\"/></Network></NetworkType>";

TEST(TuningDataInterface, EmptyDataHasNoGroups) {
  const TuningDataPtr data = NewTuningData();
  ComPtr<IKxStringList> groups;
  EXPECT_EQ(data->GetGroupList(groups.Put()), E_UNEXPECTED);
  ComPtr<IKxTuningItemList> items;
  EXPECT_EQ(data->GetTuningItemListByGroup(Wide("A").Get(), items.Put()), E_UNEXPECTED);
  EXPECT_FALSE(items);
}

TEST(TuningDataInterface, NullArgumentsAndUnknownGroups) {
  const TuningDataPtr data = NewTuningData();
  ASSERT_EQ(Load(data.Get(), KxTuningDataType_Dvbt, kTwoNetworks), S_OK);
  ComPtr<IKxTuningItemList> items;
  EXPECT_EQ(data->GetType(nullptr), E_POINTER);
  EXPECT_EQ(data->GetGroupList(nullptr), E_POINTER);
  EXPECT_EQ(data->GetTuningItemListByGroup(Wide("a").Get(), nullptr), E_POINTER);
  EXPECT_EQ(data->GetTuningItemListByGroup(nullptr, items.Put()), E_POINTER);
  EXPECT_EQ(data->GetTuningItemListByGroup(Wide("c").Get(), items.Put()), E_INVALIDARG);
  EXPECT_EQ(data->GetTuningItemListByGroup(Wide("a ").Get(), items.Put()), E_INVALIDARG);
  EXPECT_FALSE(items);

  BStr type;
  ASSERT_EQ(data->GetType(type.Put()), S_OK);
  EXPECT_EQ(type.View(), KxTuningDataType_Dvbt);
}

TEST(TuningDataInterface, ListsAndItemsCheckTheirBounds) {
  const TuningDataPtr data = NewTuningData();
  ASSERT_EQ(Load(data.Get(), KxTuningDataType_Dvbt, kTwoNetworks), S_OK);
  ComPtr<IKxStringList> groups;
  ASSERT_EQ(data->GetGroupList(groups.Put()), S_OK);
  ComPtr<IKxTuningItemList> items;
  ASSERT_EQ(data->GetTuningItemListByGroup(Wide("B").Get(), items.Put()), S_OK);
  BStr text;
  ComPtr<IKxTuningItem> item;
  for (const LONG index : {-1, 3}) {
    EXPECT_EQ(groups->get_StringByIndex(index, text.Put()), E_INVALIDARG) << index;
  }
  for (const LONG index : {-1, 1}) {
    EXPECT_EQ(items->get_ItemByIndex(index, item.Put()), E_INVALIDARG) << index;
  }
  EXPECT_EQ(groups->get_Count(nullptr), E_POINTER);
  EXPECT_EQ(groups->get_StringByIndex(0, nullptr), E_POINTER);
  EXPECT_EQ(items->get_Count(nullptr), E_POINTER);
  EXPECT_EQ(items->get_ItemByIndex(0, nullptr), E_POINTER);

  ASSERT_EQ(items->get_ItemByIndex(0, item.Put()), S_OK);
  EXPECT_EQ(Property(item.Get(), KxTuningItemProperty_Bandwidth), 7);
  EXPECT_EQ(Property(item.Get(), KxTuningItemProperty_Pilot), -1);
  Variant value;
  EXPECT_EQ(item->get_Property(Wide("KxTuningItemProperty_frequency").Get(), &value), E_FAIL);
  EXPECT_EQ(item->get_Property(nullptr, &value), E_FAIL);
  EXPECT_EQ(item->get_Property(BStr(KxTuningItemProperty_Frequency).Get(), nullptr), E_POINTER);
}

TEST(TuningDataInterface, SatelliteInfoChecksItsBounds) {
  const TuningDataPtr data = NewTuningData();
  ASSERT_EQ(Load(data.Get(), KxTuningDataType_Dvbs,
                 "<NetworkType name=\"DVB-S\"><Satellite name=\"S\" position=\"1W\"/></NetworkType>"),
            S_OK);
  ComPtr<IKxDvbsSatelliteInfo> info = QueryAs<IKxDvbsSatelliteInfo>(static_cast<IKxTuningData*>(data.Get()));
  ASSERT_TRUE(info);
  BStr text;
  for (const LONG index : {-1, 1}) {
    EXPECT_EQ(info->get_SatelliteNameByIndex(index, text.Put()), E_INVALIDARG) << index;
    EXPECT_EQ(info->get_SatellitePositionByIndex(index, text.Put()), E_INVALIDARG) << index;
  }
  EXPECT_EQ(info->get_SatelliteCount(nullptr), E_POINTER);
  EXPECT_EQ(info->get_SatelliteNameByIndex(0, nullptr), E_POINTER);
  EXPECT_EQ(info->get_SatellitePositionByIndex(0, nullptr), E_POINTER);
  ASSERT_EQ(info->get_SatellitePositionByIndex(0, text.Put()), S_OK);
  EXPECT_EQ(text.View(), u"1W");
}

// A collation that ranks letters regardless of case, the way many user locales do.
class CaselessCollate : public std::collate<char> {
 protected:
  int do_compare(const char* a1, const char* a2, const char* b1, const char* b2) const override {
    for (; a1 != a2 && b1 != b2; ++a1, ++b1) {
      const int a = std::tolower(static_cast<unsigned char>(*a1));
      const int b = std::tolower(static_cast<unsigned char>(*b1));
      if (a != b) return a < b ? -1 : 1;
    }
    return (a1 != a2) - (b1 != b2);
  }
};

TEST(TuningDataInterface, GroupsFollowTheCollationOfTheLocale) {
  const TuningDataPtr classic = NewTuningData();
  ASSERT_EQ(Load(classic.Get(), KxTuningDataType_Dvbt, kTwoNetworks), S_OK);
  EXPECT_EQ(GroupNames(classic.Get()), (std::vector<std::u16string>{u"B", u"a", u"b"}));

  // "B" and "b" collate equal here and still stay two groups.
  const TuningDataPtr caseless = NewTuningData(std::locale(std::locale::classic(), new CaselessCollate));
  ASSERT_EQ(Load(caseless.Get(), KxTuningDataType_Dvbt, kTwoNetworks), S_OK);
  EXPECT_EQ(GroupNames(caseless.Get()), (std::vector<std::u16string>{u"a", u"B", u"b"}));
  EXPECT_EQ(GroupParams(caseless.Get(), "b"), std::vector<KxTuningParam>{Param(1, 8)});
  EXPECT_EQ(GroupParams(caseless.Get(), "B"), std::vector<KxTuningParam>{Param(2, 7)});
}

TEST(TuningDataInterface, StringListCopiesItsStrings) {
  std::vector<std::u16string> source{u"x", u"y"};
  ComPtr<ComObject<CKxStringList>> list = ComObject<CKxStringList>::Make();
  ASSERT_EQ(list->Initialize(source), S_OK);
  source[0] = u"changed";
  LONG count = 0;
  ASSERT_EQ(list->get_Count(&count), S_OK);
  EXPECT_EQ(count, 2);
  BStr text;
  ASSERT_EQ(list->get_StringByIndex(0, text.Put()), S_OK);
  EXPECT_EQ(text.View(), u"x");
}

}  // namespace
