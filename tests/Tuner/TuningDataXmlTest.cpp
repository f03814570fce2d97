// Frequency-list XML of every shape the loader meets.
#include <cctype>
#include <utility>

#include "TuningDataSupport.h"

namespace {

using Groups = std::vector<std::pair<std::string, std::vector<int32_t>>>;  // group -> frequencies

Groups ReadGroups(IKxTuningData* data) {
  Groups groups;
  for (const std::u16string& name : GroupNames(data)) {
    std::vector<int32_t> frequencies;
    for (const KxTuningParam& param : GroupParams(data, Utf16ToUtf8(name))) frequencies.push_back(param.nFrequency);
    groups.emplace_back(Utf16ToUtf8(name), frequencies);
  }
  return groups;
}

struct XmlCase {
  const char* what;
  const char16_t* type;
  const char* xml;
  HRESULT result;
  Groups groups;  // what is loaded, also after a failure
};

class TuningDataXml : public testing::TestWithParam<XmlCase> {};

TEST_P(TuningDataXml, LoadsWhatTheTextHolds) {
  const XmlCase& c = GetParam();
  const TuningDataPtr data = NewTuningData();
  EXPECT_EQ(Load(data.Get(), c.type, c.xml), c.result);
  EXPECT_EQ(ReadGroups(data.Get()), c.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TuningDataXml,
    testing::Values(
        XmlCase{"not well-formed", KxTuningDataType_Dvbt, "<NetworkType name=\"DVB-T\"><Network name=\"A\">", E_FAIL, {}},
        XmlCase{"empty text", KxTuningDataType_Dvbt, "", E_FAIL, {}},
        XmlCase{"other root", KxTuningDataType_Dvbt,
                "<Networks name=\"DVB-T\"><Network name=\"A\"><param frequency=\"1\" bandwidth=\"8\"/></Network></Networks>",
                E_FAIL, {}},
        XmlCase{"unknown network type counts as terrestrial", KxTuningDataType_Dvbt,
                "<NetworkType name=\"ISDB-T\"><Network name=\"A\"><param frequency=\"1\" bandwidth=\"8\"/></Network></NetworkType>",
                S_OK, {{"A", {1}}}},
        XmlCase{"no network type counts as terrestrial", KxTuningDataType_Dvbt,
                "<NetworkType><Network name=\"A\"><param frequency=\"1\" bandwidth=\"8\"/></Network></NetworkType>", S_OK,
                {{"A", {1}}}},
        XmlCase{"terrestrial list for cable data", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-T\"><Network name=\"A\"><param frequency=\"1\"/></Network></NetworkType>", E_FAIL,
                {}},
        XmlCase{"network type is case-sensitive", KxTuningDataType_Dvbc,
                "<NetworkType name=\"dvb-c\"><Network name=\"A\"><param frequency=\"1\"/></Network></NetworkType>", E_FAIL,
                {}},
        XmlCase{"same name twice makes one group", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-C\"><Network name=\"B\"><param frequency=\"1\"/></Network>"
                "<Network name=\"A\"><param frequency=\"2\"/></Network>"
                "<Network name=\"B\"><param frequency=\"3\"/></Network></NetworkType>",
                S_OK, {{"A", {2}}, {"B", {1, 3}}}},
        XmlCase{"networks and params are found at any depth", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-C\"><Region><Network name=\"A\"><Band><param frequency=\"1\"/></Band>"
                "<param frequency=\"2\"/></Network></Region></NetworkType>",
                S_OK, {{"A", {1, 2}}}},
        XmlCase{"a network without params is no group", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-C\"><Network name=\"A\"/></NetworkType>", S_OK, {}},
        XmlCase{"network without name", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-C\"><Network><param frequency=\"1\"/></Network></NetworkType>", E_FAIL,
                {}},
        XmlCase{"network with empty name", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-C\"><Network name=\"\"><param frequency=\"1\"/></Network></NetworkType>", E_FAIL,
                {}},
        XmlCase{"frequency not a number keeps what came before", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-C\"><Network name=\"B\"><param frequency=\"1\"/></Network>"
                "<Network name=\"A\"><param frequency=\"2\"/><param frequency=\"x3\"/><param frequency=\"4\"/></Network>"
                "</NetworkType>",
                DISP_E_TYPEMISMATCH, {{"A", {2}}, {"B", {1}}}},
        XmlCase{"frequency beyond 32 bits", KxTuningDataType_Dvbc,
                "<NetworkType name=\"DVB-C\"><Network name=\"A\"><param frequency=\"4294967296\"/></Network></NetworkType>",
                DISP_E_TYPEMISMATCH, {}},
        XmlCase{"terrestrial param without bandwidth", KxTuningDataType_Dvbt,
                "<NetworkType name=\"DVB-T\"><Network name=\"A\"><param frequency=\"1\"/></Network></NetworkType>",
                DISP_E_TYPEMISMATCH, {}},
        XmlCase{"satellite with no position attribute", KxTuningDataType_Dvbs,
                "<NetworkType name=\"DVB-S\"><Satellite name=\"S\"><param frequency=\"1\" polarisation=\"H\" "
                "symbolrate=\"2\"/></Satellite></NetworkType>",
                E_FAIL, {}},
        XmlCase{"satellite with empty position", KxTuningDataType_Dvbs,
                "<NetworkType name=\"DVB-S\"><Satellite name=\"S\" position=\"\"><param frequency=\"1\" polarisation=\"H\" "
                "symbolrate=\"2\"/></Satellite></NetworkType>",
                E_FAIL, {}},
        XmlCase{"satellite param without symbol rate", KxTuningDataType_Dvbs,
                "<NetworkType name=\"DVB-S\"><Satellite name=\"S\" position=\"1E\"><param frequency=\"1\" "
                "polarisation=\"H\"/></Satellite></NetworkType>",
                DISP_E_TYPEMISMATCH, {}},
        XmlCase{"satellite data reads only Satellite elements", KxTuningDataType_Dvbs,
                "<NetworkType name=\"DVB-S\"><Network name=\"N\"><param frequency=\"1\" polarisation=\"H\" "
                "symbolrate=\"2\"/></Network></NetworkType>",
                S_OK, {}}),
    [](const testing::TestParamInfo<XmlCase>& info) {
      std::string name = info.param.what;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST(TuningDataXml, NullTextIsRefused) {
  const TuningDataPtr data = NewTuningData();
  EXPECT_EQ(data->InitializeByString(BStr(KxTuningDataType_Dvbt).Get(), nullptr), E_POINTER);
}

TEST(TuningDataXml, SatelliteAttributesBecomeCodes) {
  const TuningDataPtr data = NewTuningData();
  ASSERT_EQ(Load(data.Get(), KxTuningDataType_Dvbs,
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<NetworkType name=\"DVB-S\">\r\n"
                 "<Satellite name=\"One, Two\" position=\"192E\">"
                 "<param frequency=\"10\" polarisation=\"H\" symbolrate=\"1\" fec=\"9/10\"/>"
                 "<param frequency=\"11\" polarisation=\"V\" symbolrate=\"2\" fec=\"5/11\" modulation=\"32\" pilot=\"1\" "
                 "rolloff=\"2\"/>"
                 "<param frequency=\"12\" polarisation=\"L\" symbolrate=\"3\" fec=\"9/1\"/>"
                 "<param frequency=\"13\" polarisation=\"R\" symbolrate=\"4\" fec=\"1/2 \"/>"
                 "<param frequency=\"14\" polarisation=\"h\" symbolrate=\"5\"/>"
                 "</Satellite>\r\n<Satellite name=\"Other\" position=\"192E\">"
                 "<param frequency=\"15\" polarisation=\"V\" symbolrate=\"6\" fec=\"8/9\"/></Satellite>"
                 "</NetworkType>\r\n"),
            S_OK);
  struct Row {
    int32_t frequency, polarisation, symbolRate, fec, modulation, pilot, rolloff;
  };
  const Row rows[] = {{10, 1, 1, 14, -1, -1, -1}, {11, 2, 2, 7, 32, 1, 2},    {12, 3, 3, -1, -1, -1, -1},
                      {13, 4, 4, -1, -1, -1, -1}, {14, 4, 5, -1, -1, -1, -1}, {15, 2, 6, 13, -1, -1, -1}};
  std::vector<KxTuningParam> expected;
  for (const Row& row : rows) {
    KxTuningParam param;
    param.nFrequency = row.frequency;
    param.nPolarisation = row.polarisation;
    param.nSymbolRate = row.symbolRate;
    param.nInnerFec = row.fec;
    param.nModulation = row.modulation;
    param.nPilot = row.pilot;
    param.nRolloff = row.rolloff;
    expected.push_back(param);
  }
  EXPECT_EQ(GroupParams(data.Get(), "192E"), expected);
  EXPECT_EQ(GroupNames(data.Get()), std::vector<std::u16string>{u"192E"});

  LONG count = 0;
  ASSERT_EQ(data->get_SatelliteCount(&count), S_OK);
  ASSERT_EQ(count, 2);
  BStr name;
  ASSERT_EQ(data->get_SatelliteNameByIndex(0, name.Put()), S_OK);
  EXPECT_EQ(name.View(), u"One, Two");
  ASSERT_EQ(data->get_SatelliteNameByIndex(1, name.Put()), S_OK);
  EXPECT_EQ(name.View(), u"Other");
}

TEST(TuningDataXml, EveryCodeRateHasItsCode) {
  const std::pair<const char16_t*, int32_t> rates[] = {
      {u"1/2", 1}, {u"2/3", 2},  {u"3/4", 3},  {u"3/5", 4},  {u"4/5", 5},  {u"5/6", 6},  {u"5/11", 7}, {u"7/8", 8},
      {u"1/4", 9}, {u"1/3", 10}, {u"2/5", 11}, {u"6/7", 12}, {u"8/9", 13}, {u"9/10", 14}, {u"9/1", -1}, {u"", -1}};
  for (const auto& [text, code] : rates) EXPECT_EQ(InnerFecFromText(text), code) << Utf16ToUtf8(text);
}

}  // namespace
