// A DVB-T search on the virtual demo tuner, through the tuner's host interfaces.
#include <algorithm>
#include <map>

#include "Tuner/TunerTestSupport.h"
#include "support/TestData.h"

namespace {
constexpr const char* kDemoTuner = R"(<tuner id="t" system="DVB-T">
  <multiplex frequency="474000" file="%1"/>
  <multiplex frequency="522000" file="%2"/>
  <multiplex frequency="570000" file="%3"/>
</tuner>)";

std::string Params(const std::vector<LONG>& frequencies) {
  std::string xml = R"(<NetworkType name="DVB-T"><Network name="PAL-X">)";
  for (LONG f : frequencies) xml += "<param frequency=\"" + std::to_string(f) + "\" bandwidth=\"8\"/>";
  return xml + "</Network></NetworkType>";
}

std::map<std::string, ComPtr<IKxChannel>> ByTitle(const std::vector<ComPtr<IKxChannel>>& channels) {
  std::map<std::string, ComPtr<IKxChannel>> result;
  for (const auto& channel : channels) result[Title(channel.Get())] = channel;
  return result;
}

struct PidEntry {
  LONG pid, streamType, kind;
  bool operator==(const PidEntry&) const = default;
};

std::vector<PidEntry> Pids(IKxChannel* channel) {
  std::vector<PidEntry> pids;
  LONG count = 0;
  EXPECT_EQ(channel->get_PidInfoCount(&count), S_OK);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxPidInfo> info;
    EXPECT_EQ(channel->get_PidInfoByIndex(i, info.Put()), S_OK);
    PidEntry e{};
    info->get_Pid(&e.pid);
    info->get_Type(&e.streamType);
    info->get_StreamType(&e.kind);
    pids.push_back(e);
  }
  return pids;
}
}  // namespace

class DvbtScanTest : public TunerTest {
 protected:
  ComPtr<IKxTuner> DemoTuner() {
    std::string xml = kDemoTuner;
    for (int mux = 1; mux <= 3; ++mux) {
      const std::string mark = "%" + std::to_string(mux);
      xml.replace(xml.find(mark), mark.size(), DemoFile(mux));
    }
    return NewTuner(xml);
  }

  static void Configure(IKxTuner* tuner, const std::vector<LONG>& frequencies) {
    EXPECT_EQ(QueryAs<IKxTunerSetupDvbt>(tuner)->put_CountryCode(49), S_OK);
    const auto data = TuningData(KxTuningDataType_Dvbt, Params(frequencies));
    EXPECT_EQ(QueryAs<IKxTunerSetupTuningData>(tuner)->SetTuningData(data.Get()), S_OK);
  }
};

TEST_F(DvbtScanTest, ReportsEveryServiceOfTheDemoNetworkAndSkipsEmptyFrequencies) {
  const auto tuner = DemoTuner();
  ASSERT_TRUE(tuner);
  Configure(tuner.Get(), {474000, 498000, 522000, 546000, 570000});
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));

  EXPECT_EQ(recorder->Progress(), (std::vector<LONG>{20, 40, 60, 80, 100}));
  EXPECT_EQ(recorder->Statuses(), (std::vector<std::string>{"474000", "498000", "522000", "546000", "570000"}));
  const auto calls = recorder->Calls();
  EXPECT_EQ(calls.back(), "finished");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "finished"), 1);
  for (const std::string& device : recorder->Devices()) EXPECT_EQ(device, Utf16ToUtf8(m_moniker));
  // An empty frequency is measured, then left without a channel search.
  const auto signals = recorder->Signals();
  ASSERT_EQ(signals.size(), 5u);
  EXPECT_EQ(signals[1], (std::pair<LONG, LONG>{0, 0}));
  EXPECT_EQ(signals[0], (std::pair<LONG, LONG>{100, 100}));
  EXPECT_TRUE(m_log.Contains("No signal at 498000 kHz"));
  EXPECT_FALSE(m_log.Contains("Signal is ALWAYS TRUE!"));

  const auto channels = ByTitle(recorder->Channels());
  EXPECT_EQ(recorder->Channels().size(), 12u);
  for (const char* title : {"Demo One", "Télé Nord HD", "Radio Classic", "Kanal Şehir", "Demo News", "Радио Один",
                            "Sport Live HD", "Kids Club", "Movie Max HD", "Jazz FM", "Nature HD", "Shopping 24"})
    EXPECT_TRUE(channels.count(title)) << title;

  IKxChannel* demoOne = channels.at("Demo One").Get();
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_Type), KxChannelType_DvbtTv);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_ServiceId), 0x0101);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_ProgramNumber), 0x0101);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_TransportStreamId), 1);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_NetworkId), 0x22F1);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_CarrierFrequency), 474000);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_Bandwidth), 8);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_ServiceType), 1);
  EXPECT_EQ(Long(demoOne, &IKxChannel::get_ChannelFlags), 0);
  BStr device;
  ASSERT_EQ(demoOne->get_VideoDevice(device.Put()), S_OK);
  EXPECT_EQ(device.View(), m_moniker);
  EXPECT_EQ(Property(demoOne, u"SignalQuality").lVal, 100);
  EXPECT_EQ(Property(demoOne, u"PcrPid").lVal, 0x0111);
  EXPECT_EQ(Property(demoOne, u"NetworkName").vt, VT_BSTR);
  // PMT, video, two audio and teletext, in PID order, in the host's kinds.
  EXPECT_EQ(Pids(demoOne), (std::vector<PidEntry>{{0x0100, 0, 4}, {0x0111, 2, 1}, {0x0112, 3, 2}, {0x0113, 3, 2},
                                                  {0x0114, 6, 3}}));

  IKxChannel* hd = channels.at("Movie Max HD").Get();
  EXPECT_EQ(Long(hd, &IKxChannel::get_ChannelFlags), 1);
  EXPECT_EQ(Long(hd, &IKxChannel::get_CarrierFrequency), 570000);
  VARIANT_BOOL scrambled = VARIANT_FALSE;
  EXPECT_EQ(hd->get_Scrambled(&scrambled), S_OK);
  EXPECT_NE(scrambled, VARIANT_FALSE);
  EXPECT_EQ(Long(channels.at("Jazz FM").Get(), &IKxChannel::get_Type), KxChannelType_DvbtRadio);

  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
  EXPECT_FALSE(DeviceLocks::Query(m_moniker).inUse);
}

TEST_F(DvbtScanTest, NetworkSearchScansTheFrequenciesTheNitAnnounces) {
  const auto tuner = DemoTuner();
  ASSERT_TRUE(tuner);
  Configure(tuner.Get(), {474000});
  SetProperty(tuner.Get(), KxTunerProperty_WaitForNit, 1);
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));

  // The first multiplex's NIT names all three; the other two add nothing new.
  EXPECT_EQ(recorder->Statuses(), (std::vector<std::string>{"474000", "522000", "570000"}));
  EXPECT_EQ(recorder->Progress(), (std::vector<LONG>{33, 66, 100}));
  EXPECT_EQ(recorder->Channels().size(), 12u);
  EXPECT_TRUE(m_log.Contains("Found additional frequency: Freq=522000, Bandwidth=8"));
  EXPECT_TRUE(m_log.Contains("Found additional frequency: Freq=570000, Bandwidth=8"));
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

TEST_F(DvbtScanTest, NetworkSearchOffAddsNoFrequency) {
  const auto tuner = DemoTuner();
  ASSERT_TRUE(tuner);
  Configure(tuner.Get(), {474000});
  SetProperty(tuner.Get(), KxTunerProperty_NetworkSearch, 0);
  SetProperty(tuner.Get(), KxTunerProperty_WaitForNit, 1);
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));
  EXPECT_EQ(recorder->Statuses(), (std::vector<std::string>{"474000"}));
  EXPECT_EQ(recorder->Channels().size(), 4u);
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

// Real multiplexes: a French one whose NIT gives no frequencies (all ones)
// and an Italian one with radio and HEVC services.
TEST_F(DvbtScanTest, RealMultiplexesReportEveryServiceAndNoBogusFrequency) {
  REQUIRE_SHARED_FILE(french, "test-092.sections.ts");
  REQUIRE_SHARED_FILE(italian, "test-108.ts");
  const auto tuner = NewTuner("<tuner id=\"t\" system=\"DVB-T\"><multiplex frequency=\"474000\" file=\"" +
                              french.string() + "\"/><multiplex frequency=\"522000\" file=\"" + italian.string() +
                              "\"/></tuner>");
  ASSERT_TRUE(tuner);
  Configure(tuner.Get(), {474000, 522000});
  SetProperty(tuner.Get(), KxTunerProperty_WaitForNit, 1);
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));

  for (const std::string& status : recorder->Statuses()) {
    const long frequency = std::stol(status);
    EXPECT_TRUE(frequency >= 47000 && frequency <= 862000) << status;
  }
  const auto channels = recorder->Channels();
  EXPECT_EQ(channels.size(), 14u);
  const auto byTitle = ByTitle(channels);
  ASSERT_TRUE(byTitle.count("Test HEVC main10"));
  IKxChannel* hevc = byTitle.at("Test HEVC main10").Get();
  EXPECT_EQ(Long(hevc, &IKxChannel::get_Type), KxChannelType_DvbtTv);
  EXPECT_EQ(Long(hevc, &IKxChannel::get_ServiceType), 31);
  ASSERT_TRUE(byTitle.count("Rai Radio1"));
  EXPECT_EQ(Long(byTitle.at("Rai Radio1").Get(), &IKxChannel::get_Type), KxChannelType_DvbtRadio);
  size_t french474 = 0;
  for (const auto& channel : channels) french474 += Long(channel.Get(), &IKxChannel::get_CarrierFrequency) == 474000;
  EXPECT_EQ(french474, 6u);
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}
