// Merging tuning data, and the snapshots handed out before a merge.
#include "TuningDataSupport.h"

namespace {

constexpr const char* kExtraTerrestrial =
    "<NetworkType name=\"DVB-T\"><Network name=\"NTSC\"><param frequency=\"999000\" bandwidth=\"5\"/></Network>"
    "<Network name=\"LOCAL\"><param frequency=\"474000\" bandwidth=\"8\"/><param frequency=\"482000\" bandwidth=\"8\"/>"
    "</Network></NetworkType>";

TEST(TuningDataMerge, AppendsToExistingGroupsAndAddsNewOnes) {
  const TuningDataPtr target = LoadBuiltIn(kFrequencyListDvbt, KxTuningDataType_Dvbt);
  const TuningDataPtr source = NewTuningData();
  ASSERT_EQ(Load(source.Get(), KxTuningDataType_Dvbt, kExtraTerrestrial), S_OK);
  const std::vector<KxTuningParam> ntscBefore = GroupParams(target.Get(), "NTSC");

  LONG location = 1234;
  ASSERT_EQ(target->AddTuningData(source.Get(), &location), S_OK);
  EXPECT_EQ(location, 1234);

  EXPECT_EQ(GroupNames(target.Get()),
            (std::vector<std::u16string>{u"AUSTRALIA", u"LOCAL", u"NTSC", u"PAL-D", u"PAL-X"}));
  std::vector<KxTuningParam> ntsc = ntscBefore;
  ntsc.push_back(Param(999000, 5));
  EXPECT_EQ(GroupParams(target.Get(), "NTSC"), ntsc);
  EXPECT_EQ(GroupParams(target.Get(), "LOCAL"), (std::vector<KxTuningParam>{Param(474000, 8), Param(482000, 8)}));
  EXPECT_EQ(GroupParams(source.Get(), "NTSC"), std::vector<KxTuningParam>{Param(999000, 5)});
}

TEST(TuningDataMerge, ListsAndItemsHandedOutBeforeAreUnchanged) {
  const TuningDataPtr target = NewTuningData();
  ASSERT_EQ(Load(target.Get(), KxTuningDataType_Dvbt, kExtraTerrestrial), S_OK);
  ComPtr<IKxTuningItemList> local;
  ASSERT_EQ(target->GetTuningItemListByGroup(Wide("LOCAL").Get(), local.Put()), S_OK);
  ComPtr<IKxStringList> groups;
  ASSERT_EQ(target->GetGroupList(groups.Put()), S_OK);
  ComPtr<IKxTuningItem> first;
  ASSERT_EQ(local->get_ItemByIndex(0, first.Put()), S_OK);

  LONG location = 0;
  ASSERT_EQ(target->AddTuningData(LoadBuiltIn(kFrequencyListDvbt, KxTuningDataType_Dvbt).Get(), &location), S_OK);
  ASSERT_EQ(target->AddTuningData(target.Get(), &location), S_OK);  // itself: every group doubles

  EXPECT_EQ(ListParams(local.Get()), (std::vector<KxTuningParam>{Param(474000, 8), Param(482000, 8)}));
  LONG count = 0;
  ASSERT_EQ(groups->get_Count(&count), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ItemParam(first.Get()), Param(474000, 8));
  EXPECT_EQ(GroupParams(target.Get(), "LOCAL").size(), 4u);
  EXPECT_EQ(GroupParams(target.Get(), "NTSC").size(), 2u * 83u);
}

TEST(TuningDataMerge, SatelliteMergeKeepsEveryValueButNotTheSatelliteNames) {
  const TuningDataPtr source = NewTuningData();
  ASSERT_EQ(Load(source.Get(), KxTuningDataType_Dvbs,
                 "<NetworkType name=\"DVB-S\"><Satellite name=\"S\" position=\"1W\"><param frequency=\"11\" "
                 "polarisation=\"R\" symbolrate=\"2\" fec=\"3/4\" modulation=\"30\" pilot=\"1\" rolloff=\"3\"/>"
                 "</Satellite></NetworkType>"),
            S_OK);
  const TuningDataPtr target = LoadBuiltIn(kFrequencyListDvbs, KxTuningDataType_Dvbs);
  LONG location = 0;
  ASSERT_EQ(target->AddTuningData(source.Get(), &location), S_OK);
  EXPECT_EQ(GroupParams(target.Get(), "1W"), GroupParams(source.Get(), "1W"));
  EXPECT_EQ(GroupParams(target.Get(), "1W").at(0).nRolloff, 3);
  EXPECT_EQ(GroupNames(target.Get()).size(), 146u);
  LONG satellites = 0;
  ASSERT_EQ(target->get_SatelliteCount(&satellites), S_OK);
  EXPECT_EQ(satellites, 145);
}

TEST(TuningDataMerge, RefusesOtherTypesAndNullArgumentsWithoutChange) {
  const TuningDataPtr target = LoadBuiltIn(kFrequencyListDvbt, KxTuningDataType_Dvbt);
  const std::vector<std::u16string> groups = GroupNames(target.Get());
  const std::vector<KxTuningParam> ntsc = GroupParams(target.Get(), "NTSC");
  LONG location = 0;
  EXPECT_EQ(target->AddTuningData(LoadBuiltIn(kFrequencyListDvbs, KxTuningDataType_Dvbs).Get(), &location), E_UNEXPECTED);
  EXPECT_EQ(target->AddTuningData(LoadBuiltIn(kFrequencyListDvbc, KxTuningDataType_Dvbc).Get(), &location), E_UNEXPECTED);
  EXPECT_EQ(target->AddTuningData(nullptr, &location), E_POINTER);
  EXPECT_EQ(target->AddTuningData(target.Get(), nullptr), E_POINTER);
  EXPECT_EQ(GroupNames(target.Get()), groups);
  EXPECT_EQ(GroupParams(target.Get(), "NTSC"), ntsc);
}

TEST(TuningDataMerge, EmptySourceHasNoGroupsToGive) {
  const TuningDataPtr target = LoadBuiltIn(kFrequencyListDvbc, KxTuningDataType_Dvbc);
  const TuningDataPtr empty = NewTuningData();
  ASSERT_EQ(Load(empty.Get(), KxTuningDataType_Dvbc, "<NetworkType name=\"DVB-C\"/>"), S_OK);
  LONG location = 0;
  EXPECT_EQ(target->AddTuningData(empty.Get(), &location), E_UNEXPECTED);
  EXPECT_EQ(GroupNames(target.Get()).size(), 3u);
}

}  // namespace
