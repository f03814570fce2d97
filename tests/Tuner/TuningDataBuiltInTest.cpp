// The built-in frequency lists loaded into tuning data.
#include <algorithm>
#include <map>
#include <pugixml.hpp>

#include "Tuner/GroupNameOrder.h"
#include "TuningDataSupport.h"

namespace {

KxTuningParam Satellite(int32_t frequency, int32_t polarisation, int32_t symbolRate, int32_t fec, int32_t modulation) {
  KxTuningParam param;
  param.nFrequency = frequency;
  param.nPolarisation = polarisation;
  param.nSymbolRate = symbolRate;
  param.nInnerFec = fec;
  param.nModulation = modulation;
  return param;
}

TEST(TuningDataBuiltIn, SatelliteListHas145SatellitesEachItsOwnGroupInCollationOrder) {
  const TuningDataPtr data = LoadBuiltIn(kFrequencyListDvbs, KxTuningDataType_Dvbs);
  LONG count = 0;
  ASSERT_EQ(data->get_SatelliteCount(&count), S_OK);
  ASSERT_EQ(count, 145);

  std::vector<std::u16string> positions;
  for (LONG i = 0; i < count; ++i) {
    BStr position;
    ASSERT_EQ(data->get_SatellitePositionByIndex(i, position.Put()), S_OK);
    positions.emplace_back(position.View());
  }
  EXPECT_EQ(positions.front(), u"28E");
  EXPECT_EQ(positions.back(), u"1770W");
  BStr name;
  ASSERT_EQ(data->get_SatelliteNameByIndex(2, name.Put()), S_OK);
  EXPECT_EQ(name.View(), u"Astra 4A,1E");
  EXPECT_EQ(positions[2], u"48E");

  std::vector<std::u16string> sorted = positions;
  std::sort(sorted.begin(), sorted.end(), GroupNameOrder(std::locale::classic()));
  ASSERT_NE(sorted, positions);  // the file is in orbital order, the groups are not
  EXPECT_EQ(GroupNames(data.Get()), sorted);
}

TEST(TuningDataBuiltIn, SatelliteItemsCarryTheirParameters) {
  const TuningDataPtr data = LoadBuiltIn(kFrequencyListDvbs, KxTuningDataType_Dvbs);
  // A transponder without modulation, a circular DVB-S2 one, and "9/1", which no code rate matches.
  const std::vector<KxTuningParam> astra4a = GroupParams(data.Get(), "48E");
  ASSERT_GT(astra4a.size(), 93u);
  EXPECT_EQ(astra4a[93], Satellite(11727000, 1, 27500, 6, -1));

  const std::vector<KxTuningParam> eutelsat9 = GroupParams(data.Get(), "90E");
  ASSERT_GT(eutelsat9.size(), 25u);
  EXPECT_EQ(eutelsat9[25], Satellite(20185000, 3, 25000, 1, 31));

  const std::vector<KxTuningParam> astra3b = GroupParams(data.Get(), "235E");
  ASSERT_GT(astra3b.size(), 5u);
  EXPECT_EQ(astra3b[5], Satellite(11515000, 2, 28500, -1, 31));
}

TEST(TuningDataBuiltIn, SatelliteGroupsHoldEveryParamOfTheirSatellite) {
  const TuningDataPtr data = LoadBuiltIn(kFrequencyListDvbs, KxTuningDataType_Dvbs);
  pugi::xml_document doc;
  const std::string_view text = FindFrequencyListResource(kFrequencyListDvbs);
  ASSERT_TRUE(doc.load_buffer(text.data(), text.size()));
  size_t total = 0;
  for (const pugi::xml_node satellite : doc.document_element().children("Satellite")) {
    const std::vector<KxTuningParam> items = GroupParams(data.Get(), satellite.attribute("position").value());
    std::vector<int32_t> frequencies;
    for (const KxTuningParam& item : items) frequencies.push_back(item.nFrequency);
    std::vector<int32_t> expected;
    for (const pugi::xml_node param : satellite.children("param")) expected.push_back(param.attribute("frequency").as_int());
    EXPECT_EQ(frequencies, expected) << satellite.attribute("position").value();
    total += items.size();
  }
  EXPECT_EQ(total, 6331u);
}

struct NetworkCase {
  int list;
  const char16_t* type;
  const char* network;
  size_t entries;
  std::map<int32_t, size_t> bandwidths;  // bandwidth -> number of items
  std::vector<int32_t> firstFrequencies;
};

class TuningDataNetworks : public testing::TestWithParam<NetworkCase> {};

TEST_P(TuningDataNetworks, NetworkHasItsEntriesAndBandwidths) {
  const NetworkCase& c = GetParam();
  const TuningDataPtr data = LoadBuiltIn(c.list, c.type);
  const std::vector<KxTuningParam> items = GroupParams(data.Get(), c.network);
  ASSERT_EQ(items.size(), c.entries);
  std::map<int32_t, size_t> bandwidths;
  for (const KxTuningParam& item : items) {
    ++bandwidths[item.nBandwidth];
    EXPECT_EQ(item.nSymbolRate, -1);
    EXPECT_EQ(item.nPolarisation, -1);
    EXPECT_EQ(item.nInnerFec, -1);
  }
  EXPECT_EQ(bandwidths, c.bandwidths);
  for (size_t i = 0; i < c.firstFrequencies.size(); ++i) EXPECT_EQ(items[i].nFrequency, c.firstFrequencies[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    BuiltIn, TuningDataNetworks,
    testing::Values(NetworkCase{kFrequencyListDvbc, KxTuningDataType_Dvbc, "NTSC", 82, {{-1, 82}}, {57000, 63000, 69000, 79000}},
                    NetworkCase{kFrequencyListDvbc, KxTuningDataType_Dvbc, "PAL-D", 50, {{-1, 50}}, {}},
                    NetworkCase{kFrequencyListDvbc, KxTuningDataType_Dvbc, "PAL-X", 121, {{-1, 121}}, {50500, 57500, 64500}},
                    NetworkCase{kFrequencyListDvbt, KxTuningDataType_Dvbt, "NTSC", 82, {{6, 82}}, {57000, 63000}},
                    NetworkCase{kFrequencyListDvbt, KxTuningDataType_Dvbt, "PAL-D", 111, {{8, 111}}, {52500, 62000, 80000}},
                    NetworkCase{kFrequencyListDvbt, KxTuningDataType_Dvbt, "PAL-X", 121, {{7, 39}, {8, 82}}, {50500}},
                    NetworkCase{kFrequencyListDvbt, KxTuningDataType_Dvbt, "AUSTRALIA", 52, {{7, 52}},
                                {170500, 177500, 184500}}));

TEST(TuningDataBuiltIn, NetworkListsHaveTheirGroupsInCollationOrder) {
  EXPECT_EQ(GroupNames(LoadBuiltIn(kFrequencyListDvbt, KxTuningDataType_Dvbt).Get()),
            (std::vector<std::u16string>{u"AUSTRALIA", u"NTSC", u"PAL-D", u"PAL-X"}));
  EXPECT_EQ(GroupNames(LoadBuiltIn(kFrequencyListDvbc, KxTuningDataType_Dvbc).Get()),
            (std::vector<std::u16string>{u"NTSC", u"PAL-D", u"PAL-X"}));
}

TEST(TuningDataBuiltIn, ListOfAnotherTypeFailsAndLoadsNothing) {
  struct Case {
    int list;
    const char16_t* type;
  };
  for (const Case c : {Case{kFrequencyListDvbc, KxTuningDataType_Dvbt}, Case{kFrequencyListDvbs, KxTuningDataType_Dvbc},
                       Case{kFrequencyListDvbt, KxTuningDataType_Dvbs}, Case{kFrequencyListDvbt, u"KxTuningDataType_dvbt"}}) {
    const TuningDataPtr data = NewTuningData();
    EXPECT_EQ(Load(data.Get(), c.type, FindFrequencyListResource(c.list)), E_FAIL) << c.list;
    ComPtr<IKxStringList> groups;
    EXPECT_EQ(data->GetGroupList(groups.Put()), E_UNEXPECTED) << c.list;
    LONG satellites = -1;
    EXPECT_EQ(data->get_SatelliteCount(&satellites), S_OK);
    EXPECT_EQ(satellites, 0);
  }
}

}  // namespace
