// dtv-scan-tables initial-tuning files become tuning data that the
// plug-in's tuning data object loads, with the transponders' values.
#include <gtest/gtest.h>

#include "Tuner/KxTuningData.h"
#include "channels/ScanTable.h"
#include "platform/com/Utf.h"

namespace {

// As dtv-scan-tables ships them (dvb-t/de-Berlin, dvb-s/Astra-19.2E, shortened).
constexpr const char* kBerlin = R"(# Germany, Berlin
[CH25]
	DELIVERY_SYSTEM = DVBT
	FREQUENCY = 506000000
	BANDWIDTH_HZ = 8000000
	CODE_RATE_HP = 2/3
	MODULATION = QAM/16
	INVERSION = AUTO

[CH33: ARD]
	DELIVERY_SYSTEM = DVBT2
	FREQUENCY = 570000000
	BANDWIDTH_HZ = 7000000
)";

constexpr const char* kAstra = R"([11494 H]
	DELIVERY_SYSTEM = DVBS2
	FREQUENCY = 11494000
	POLARIZATION = HORIZONTAL
	SYMBOL_RATE = 22000000
	INNER_FEC = 2/3
	MODULATION = PSK/8

[12188 H]
	DELIVERY_SYSTEM = DVBS
	FREQUENCY = 12187500
	POLARIZATION = HORIZONTAL
	SYMBOL_RATE = 27500000
	INNER_FEC = 3/4
)";

std::vector<Dvbv5Entry> Entries(const char* text) {
  std::string error;
  auto entries = ParseDvbv5(text, error);
  EXPECT_TRUE(entries) << error;
  return entries.value_or(std::vector<Dvbv5Entry>{});
}

// The tuning data object of the plug-in loaded from `xml`: each item of
// `group` as its property values.
std::vector<std::map<std::string, LONG>> Items(const char* type, const std::string& xml, const std::u16string& group) {
  const auto data = ComObject<CKxTuningData>::Make();
  const BStr typeText(Utf8ToUtf16(type)), xmlText(Utf8ToUtf16(xml)), groupText(group);
  EXPECT_EQ(data->InitializeByString(typeText.Get(), xmlText.Get()), S_OK) << xml;
  ComPtr<IKxTuningItemList> list;
  EXPECT_EQ(data->GetTuningItemListByGroup(groupText.Get(), list.Put()), S_OK);
  std::vector<std::map<std::string, LONG>> items;
  LONG count = 0;
  if (!list || FAILED(list->get_Count(&count))) return items;
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxTuningItem> item;
    list->get_ItemByIndex(i, item.Put());
    std::map<std::string, LONG>& values = items.emplace_back();
    for (const char* name : {"Frequency", "Bandwidth", "Polarisation", "SymbolRate", "Modulation", "InnerFec"}) {
      Variant value;
      const BStr key(Utf8ToUtf16(std::string("KxTuningItemProperty_") + name));
      item->get_Property(key.Get(), &value);
      values[name] = value.lVal;
    }
  }
  return items;
}

TEST(ScanTable, ATerrestrialTableIsANetworkOfTheFilesName) {
  std::string error;
  const auto xml = TuningDataXmlOfScanTable(Entries(kBerlin), "de-Berlin", error);
  ASSERT_TRUE(xml) << error;
  const auto items = Items("KxTuningDataType_Dvbt", *xml, u"de-Berlin");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].at("Frequency"), 506000);
  EXPECT_EQ(items[0].at("Bandwidth"), 8);
  EXPECT_EQ(items[1].at("Frequency"), 570000);
  EXPECT_EQ(items[1].at("Bandwidth"), 7);
}

TEST(ScanTable, ASatelliteTableIsTheSatelliteAtThePositionOfItsName) {
  std::string error;
  const auto xml = TuningDataXmlOfScanTable(Entries(kAstra), "S19.2E", error);
  ASSERT_TRUE(xml) << error;
  const auto items = Items("KxTuningDataType_Dvbs", *xml, u"192E");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0], (std::map<std::string, LONG>{{"Frequency", 11494000}, {"Bandwidth", -1}, {"Polarisation", 1},
                                                   {"SymbolRate", 22000}, {"Modulation", 27}, {"InnerFec", 2}}));
  EXPECT_EQ(items[1].at("Frequency"), 12187500);
  EXPECT_EQ(items[1].at("Modulation"), -1);  // not given
  EXPECT_EQ(items[1].at("InnerFec"), 3);
}

TEST(ScanTable, SatellitePositionsFollowTheTablesNames) {
  EXPECT_EQ(SatellitePositionOfName("S19.2E"), "192E");
  EXPECT_EQ(SatellitePositionOfName("S13E"), "130E");
  EXPECT_EQ(SatellitePositionOfName("S30.0W"), "300W");
  EXPECT_EQ(SatellitePositionOfName("Astra-19.2E"), std::nullopt);
}

struct BadTable {
  const char* text;
  const char* message;
};

class ScanTableErrors : public testing::TestWithParam<BadTable> {};

TEST_P(ScanTableErrors, NameTheTransponderOrLine) {
  std::string error;
  const auto entries = ParseDvbv5(GetParam().text, error);
  if (entries) {
    EXPECT_FALSE(TuningDataXmlOfScanTable(*entries, "x", error));
  }
  EXPECT_EQ(error, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScanTableErrors,
    testing::Values(BadTable{"", "no transponders in it"},
                    BadTable{"\tFREQUENCY = 1\n", "line 1: a value before the first \"[name]\""},
                    BadTable{"[A\n", "line 1: a section name without its closing ']'"},
                    BadTable{"[A]\nFREQUENCY\n", "line 2: neither \"[name]\" nor \"KEY = VALUE\""},
                    BadTable{"[A]\nFREQUENCY = 1\n", "transponder 1 [A]: no DELIVERY_SYSTEM"},
                    BadTable{"[A]\nDELIVERY_SYSTEM = ISDBT\n", "transponder 1 [A]: DELIVERY_SYSTEM ISDBT has no tuning data"},
                    BadTable{"[A]\nDELIVERY_SYSTEM = DVBT\nFREQUENCY = 1000\n[B]\nDELIVERY_SYSTEM = DVBC/ANNEX_A\n",
                             "transponder 2 [B]: DELIVERY_SYSTEM DVBC/ANNEX_A differs from the first transponder's"},
                    BadTable{"[A]\nDELIVERY_SYSTEM = DVBT\n", "transponder 1 [A]: no FREQUENCY"}));

}  // namespace
