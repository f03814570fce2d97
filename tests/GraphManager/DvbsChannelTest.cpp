// put_Channel on a virtual satellite tuner behind a DiSEqC switch, through
// the satellite graph manager and the host's LNBs.
#include "Channel/KxChannel.h"
#include "GraphManager/DigitalGraphTestSupport.h"
#include "GraphManager/KxGraphManagerDvbs.h"
#include "GraphManager/TestLnb.h"
#include "support/FileBytes.h"

namespace {
constexpr LONG kAstraKHz = 11493750;    // LNB 1, horizontal
constexpr LONG kHotbirdKHz = 11034000;  // LNB 2, vertical

class CTestDvbsGraphManager : public CKxGraphManagerDvbs {
 public:
  KxFilterGraph* Graph() const { return m_pGraphBuilder.Get(); }
};

// A channel whose plug-in tune cannot be filled: the inner FEC is unreadable.
class CUnfillableChannel : public CKxChannel {
 public:
  HRESULT get_Property(BSTR name, VARIANT* value) override {
    if (std::u16string_view(name, SysStringLen(name)) == u"InnerFec") return E_FAIL;
    return CKxChannel::get_Property(name, value);
  }
};

template <class Channel = CKxChannel>
ComPtr<ComObject<Channel>> SatelliteChannel(LONG frequencyKHz, LONG polarisation, LONG symbolRate, LONG lnbPosition) {
  auto channel = ComObject<Channel>::Make();
  channel->put_Type(KxChannelType_DvbsTv);
  channel->put_CarrierFrequency(frequencyKHz);
  channel->put_SignalPolarisation(polarisation);
  channel->put_SymbolRate(symbolRate);
  channel->put_LnbPosition(lnbPosition);
  return channel;
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}
}  // namespace

class DvbsChannelTest : public DigitalGraphTest {
 protected:
  // A manager for a satellite tuner receiving demo multiplex 1 through LNB 1
  // and demo multiplex 2 through LNB 2, with the host's two LNBs added.
  ComPtr<ComObject<CTestDvbsGraphManager>> NewSatelliteManager() {
    const std::string text = R"(<virtualTuners><tuner id="s" system="DVB-S2">)"
                             R"(<multiplex frequency="11493750" lnb="0" polarisation="H" symbolRate="22000" file=")" +
                             DemoFile(1) +
                             R"("/><multiplex frequency="11034000" lnb="1" polarisation="V" symbolRate="27500" file=")" +
                             DemoFile(2) + R"("/></tuner></virtualTuners>)";
    m_moniker = Utf8ToUtf16("virtualdvb:" + m_env.dir.Write("satellite.xml", text) + "#s");
    m_device = ComObject<CFakeCaptureDevice>::Make(m_moniker, KxCaptureDeviceType_Dvbs);
    auto manager = ComObject<CTestDvbsGraphManager>::Make();
    EXPECT_EQ(manager->Initialize(m_device.Get(), false), S_OK);
    for (const LONG position : {1, 2}) EXPECT_EQ(manager->AddLnb(Lnb(position).Get()), S_OK);
    return manager;
  }

  // True once the PSI renderer has the stream of `file`'s multiplex.
  bool ReceivesMultiplexOf(CTestDvbsGraphManager* manager, const std::string& file, CStreamRecorder* recorder) {
    const size_t mark = recorder->Size();
    const size_t wanted = 4 * CVirtualTunerFilter::kSampleBytes;
    if (!DriveUntil([&] { return recorder->Size() >= mark + wanted; })) return false;
    const std::string bytes = ReadFileBytes(file);
    return (bytes + bytes).find(recorder->Bytes().substr(mark, wanted)) != std::string::npos;
  }
};

TEST_F(DvbsChannelTest, TheChannelsLnbPositionSelectsTheSwitchInput) {
  auto manager = NewSatelliteManager();
  auto recorder = ComObject<CStreamRecorder>::Make();
  ASSERT_EQ(manager->put_OutputTarget(2, UnknownVariant(recorder.Get())), S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Capture), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);

  auto hotbird = SatelliteChannel(kHotbirdKHz, BDA_POLARISATION_LINEAR_V, 27500, 2);
  ASSERT_EQ(manager->put_Channel(hotbird.Get()), S_OK);
  EXPECT_TRUE(m_log.Contains(
      "Execute Command Tune Request DVB-S. LNB: 2, Frequency: 11034000, Polarisation: 2, Symbol Rate: 27500"));
  EXPECT_FALSE(m_log.Contains("Plugin execution failed!"));
  EXPECT_TRUE(ReceivesMultiplexOf(manager.Get(), DemoFile(2), recorder.Get()));

  auto astra = SatelliteChannel(kAstraKHz, BDA_POLARISATION_LINEAR_H, 22000, 1);
  ASSERT_EQ(manager->put_Channel(astra.Get()), S_OK);
  EXPECT_TRUE(ReceivesMultiplexOf(manager.Get(), DemoFile(1), recorder.Get()));

  // No position stored: the last LNB of the host's list.
  auto unplaced = SatelliteChannel(kHotbirdKHz, BDA_POLARISATION_LINEAR_V, 27500, 0);
  ASSERT_EQ(manager->put_Channel(unplaced.Get()), S_OK);
  EXPECT_EQ(Occurrences(m_log.Text(), "Execute Command Tune Request DVB-S. LNB: 2, Frequency: 11034000"), 2u);
  EXPECT_TRUE(ReceivesMultiplexOf(manager.Get(), DemoFile(2), recorder.Get()));
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}

TEST_F(DvbsChannelTest, TheNetworkProviderRouteRestartsOnlyARunningGraph) {
  auto manager = NewSatelliteManager();
  ASSERT_EQ(manager->put_AudioRenderer(VARIANT_TRUE), S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  auto channel = SatelliteChannel<CUnfillableChannel>(kAstraKHz, BDA_POLARISATION_LINEAR_H, 22000, 1);

  // Stopped: the tune leaves it stopped.
  ASSERT_EQ(manager->put_Channel(channel.Get()), S_OK);
  EXPECT_TRUE(m_log.Contains("Plugin execution failed!"));
  EXPECT_TRUE(m_log.Contains("Put channel DVB-S. Frequency: 11493750, SR: 22000, polarisation: 1"));
  EXPECT_EQ(manager->Graph()->State(), State_Stopped);

  ASSERT_EQ(manager->StartGraph(), S_OK);
  const size_t pausesBefore = Occurrences(m_log.Text(), "PauseGraph [");
  ASSERT_EQ(manager->put_Channel(channel.Get()), S_OK);
  EXPECT_EQ(Occurrences(m_log.Text(), "PauseGraph ["), pausesBefore + 1);
  EXPECT_EQ(manager->Graph()->State(), State_Running);
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}
