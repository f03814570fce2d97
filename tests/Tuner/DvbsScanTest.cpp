// DVB-S searches on a virtual satellite tuner behind a DiSEqC switch: an LNB
// that knows its satellite, and one that finds it by blind scan and the NIT.
#include <algorithm>

#include "Tuner/SatelliteMultiplex.h"
#include "Tuner/TestLnb.h"
#include "Tuner/TunerTestSupport.h"
#include "interfaces/IKxLnbControl.h"

namespace {
// Astra (19.2 E) and Hot Bird (13.0 E), three transponders each.
constexpr const char* kSatellites = R"(<NetworkType name="DVB-S">
  <Satellite name="Astra" position="192E">
    <param frequency="11494000" polarisation="H" symbolrate="22000" fec="2/3"/>
    <param frequency="11538000" polarisation="V" symbolrate="22000" fec="5/6"/>
    <param frequency="11582000" polarisation="H" symbolrate="22000" fec="5/6"/>
  </Satellite>
  <Satellite name="Hot Bird" position="130E">
    <param frequency="10719000" polarisation="V" symbolrate="27500" fec="3/4"/>
    <param frequency="10757000" polarisation="V" symbolrate="27500" fec="3/4"/>
    <param frequency="10795000" polarisation="V" symbolrate="27500" fec="3/4"/>
  </Satellite>
</NetworkType>)";

const std::vector<SatelliteTransponder> kHotBird = {
    {2201, 10719000, true, 27500}, {2202, 10757000, true, 27500}, {2203, 10795000, true, 27500}};
}  // namespace

class DvbsScanTest : public TunerTest {
 protected:
  std::string WriteMux(const std::string& name, const std::vector<uint8_t>& bytes) {
    return m_env.dir.Write(name, std::string(bytes.begin(), bytes.end()));
  }

  // Astra on DiSEqC input 0, two Hot Bird multiplexes on input 1.
  ComPtr<IKxTuner> SatelliteTuner() {
    const std::string astra = WriteMux(
        "astra.ts", SatelliteMultiplex(1101, {{0x1101, 0x01, "Sat One"}, {0x1102, 0x02, "Sat Radio"}},
                                       {{1101, 11494000, false, 22000}}, 192));
    const std::string hotBird1 = WriteMux("hotbird1.ts", SatelliteMultiplex(2202, {{0x2201, 0x19, "Hot One HD"}}, kHotBird, 130));
    const std::string hotBird2 = WriteMux("hotbird2.ts", SatelliteMultiplex(2203, {{0x2301, 0x01, "Hot Two"}}, kHotBird, 130));
    return NewTuner(R"(<tuner id="t" system="DVB-S2">
      <multiplex frequency="11494000" lnb="0" polarisation="H" symbolRate="22000" file=")" + astra + R"("/>
      <multiplex frequency="10757000" lnb="1" polarisation="V" symbolRate="27500" file=")" + hotBird1 + R"("/>
      <multiplex frequency="10795000" lnb="1" polarisation="V" symbolRate="27500" file=")" + hotBird2 + R"("/>
    </tuner>)");
  }

  static ComPtr<IKxLnbControl> LnbControl(IKxTuner* tuner) {
    ComPtr<IUnknown> control;
    EXPECT_EQ(QueryAs<IKxTunerSetupDvbs>(tuner)->get_LnbControl(control.Put()), S_OK);
    return QueryAs<IKxLnbControl>(control.Get());
  }

  static void AddLnb(IKxTuner* tuner, LONG position, const char16_t* satellite) {
    auto lnb = ComObject<CTestLnb>::Make(position, satellite);
    EXPECT_EQ(LnbControl(tuner)->AddLnb(lnb.Get()), S_OK);
  }
};

TEST_F(DvbsScanTest, EachLnbScansItsSatelliteAndTheBlindOneFindsItsOwn) {
  const auto tuner = SatelliteTuner();
  ASSERT_TRUE(tuner);
  const auto data = TuningData(KxTuningDataType_Dvbs, kSatellites);
  ASSERT_EQ(QueryAs<IKxTunerSetupTuningData>(tuner.Get())->SetTuningData(data.Get()), S_OK);
  // Added in the other order: the smaller position is still scanned first, each through its own input.
  AddLnb(tuner.Get(), 2, u"");
  AddLnb(tuner.Get(), 1, u"192E");
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));

  EXPECT_EQ(recorder->Statuses(),
            (std::vector<std::string>{"11494000", "11538000", "11582000",                      // LNB 1: Astra
                                      "10719000", "11494000", "10757000",                      // LNB 2: blind
                                      "10719000", "10757000", "10795000"}));                   // LNB 2: Hot Bird
  EXPECT_TRUE(m_log.Contains("Correct satellite position for the current LNB found: 130E"));
  const auto progress = recorder->Progress();
  ASSERT_EQ(progress.size(), 9u);
  EXPECT_EQ(progress.back(), 100);
  for (LONG p : progress) EXPECT_TRUE(p > 0 && p <= 100) << p;

  // Astra's NIT names the listed transponder (listed with its FEC): not added again.
  EXPECT_FALSE(m_log.Contains("Sat=192E"));
  std::map<std::string, std::pair<LONG, std::string>> found;  // title -> LNB, satellite
  for (const auto& channel : recorder->Channels()) {
    BStr satellite;
    EXPECT_EQ(channel->get_Satellite(satellite.Put()), S_OK);
    EXPECT_TRUE(found.emplace(Title(channel.Get()), std::pair{Long(channel.Get(), &IKxChannel::get_LnbPosition),
                                                              satellite.Utf8()})
                    .second)
        << "reported twice: " << Title(channel.Get());
  }
  EXPECT_EQ(found, (std::map<std::string, std::pair<LONG, std::string>>{{"Sat One", {1, "192E"}},
                                                                       {"Sat Radio", {1, "192E"}},
                                                                       {"Hot One HD", {2, "130E"}},
                                                                       {"Hot Two", {2, "130E"}}}));
  const auto channels = recorder->Channels();
  const auto radio = std::find_if(channels.begin(), channels.end(), [](const auto& c) { return Title(c.Get()) == "Sat Radio"; });
  ASSERT_NE(radio, channels.end());
  EXPECT_EQ(Long(radio->Get(), &IKxChannel::get_Type), KxChannelType_DvbsRadio);
  EXPECT_EQ(Long(radio->Get(), &IKxChannel::get_SignalPolarisation), 1);
  EXPECT_EQ(Property(radio->Get(), u"LowOscillator").lVal, 9750000);
  EXPECT_EQ(Property(radio->Get(), u"InnerFec").lVal, 2);
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
  EXPECT_FALSE(DeviceLocks::Query(m_moniker).inUse);
}

TEST_F(DvbsScanTest, WithoutNetworkSearchTheBlindLnbScansTheBlindList) {
  const auto tuner = SatelliteTuner();
  ASSERT_TRUE(tuner);
  const auto data = TuningData(KxTuningDataType_Dvbs, kSatellites);
  ASSERT_EQ(QueryAs<IKxTunerSetupTuningData>(tuner.Get())->SetTuningData(data.Get()), S_OK);
  AddLnb(tuner.Get(), 2, u"");
  SetProperty(tuner.Get(), KxTunerProperty_NetworkSearch, 0);
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));
  EXPECT_EQ(recorder->Statuses(), (std::vector<std::string>{"10719000", "11494000", "10757000", "11538000", "10795000",
                                                            "11582000"}));
  EXPECT_TRUE(m_log.Contains("Network search: OFF"));
  EXPECT_EQ(recorder->Channels().size(), 2u);
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

TEST_F(DvbsScanTest, NoLnbFailsTheStartAndFreesTheDevice) {
  const auto tuner = SatelliteTuner();
  ASSERT_TRUE(tuner);
  auto recorder = ComObject<CTunerRecorder>::Make();
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_EQ(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(recorder.Get())), E_FAIL);
    EXPECT_FALSE(DeviceLocks::Query(m_moniker).inUse);
  }
  EXPECT_TRUE(m_log.Contains("ERROR: frequency list is empty."));
}

TEST_F(DvbsScanTest, AnLnbOfASatelliteTheDataLacksFailsTheStart) {
  const auto tuner = SatelliteTuner();
  ASSERT_TRUE(tuner);
  const auto data = TuningData(KxTuningDataType_Dvbs, kSatellites);
  ASSERT_EQ(QueryAs<IKxTunerSetupTuningData>(tuner.Get())->SetTuningData(data.Get()), S_OK);
  AddLnb(tuner.Get(), 1, u"282E");
  auto recorder = ComObject<CTunerRecorder>::Make();
  EXPECT_EQ(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(recorder.Get())), E_INVALIDARG);
  EXPECT_FALSE(DeviceLocks::Query(m_moniker).inUse);
}
