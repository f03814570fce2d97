// Channel control on the virtual DVB-T tuner of the demo network, through
// the graph manager's host interfaces.
#include <functional>

#include "Channel/KxChannel.h"
#include "DSFilters/TransportStreamCallback/TransportStreamCallbackFilter.h"
#include "GraphManager/DemoHostChannel.h"
#include "GraphManager/DeviceRecordTable.h"
#include "GraphManager/DigitalGraphTestSupport.h"
#include "interfaces/KxFilterRole.h"
#include "platform/com/TaskMemory.h"
#include "support/FileBytes.h"

namespace {
constexpr LONG kMux1KHz = 506000;
constexpr LONG kMux2KHz = 522000;

LONG DefaultPid(IKxChannel* channel, bool video) {
  LONG videoPid = 0, audioPid = 0, pmtPid = 0, videoType = 0, audioType = 0;
  bool ac3 = false;
  EXPECT_EQ(CKxChannel::GetDefaultChannelPids(channel, &videoPid, &audioPid, &pmtPid, &videoType, &audioType, &ac3),
            S_OK);
  return video ? videoPid : audioPid;
}

// The PIDs an output pin of the demultiplexer passes on.
std::vector<ULONG> MappedPids(CTestDigitalGraphManager* manager, const GUID& majorType) {
  ComPtr<IUnknown> demux;
  EXPECT_EQ(manager->GetFilter(KxFLTMpeg2Demux, demux.Put()), S_OK);
  ComPtr<IPin> pin;
  std::vector<ULONG> pids;
  if (FAILED(DSH::FindPinOfType(QueryAs<IBaseFilter>(demux.Get()).Get(), PINDIR_OUTPUT, majorType, pin.Put())))
    return pids;
  std::vector<PID_MAP> map;
  EXPECT_EQ(QueryAs<IMPEG2PIDMap>(pin.Get())->EnumPIDMap(&map), S_OK);
  for (const PID_MAP& entry : map) pids.push_back(entry.ulPID);
  return pids;
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

bool HasPmtOf(IMpeg2PsiReader* reader, LONG serviceId) {
  uint8_t* section = nullptr;
  LONG length = 0;
  const HRESULT hr = reader->GetPmtSection(serviceId, &section, &length);
  CoTaskMemFree(section);
  return hr == S_OK && length > 0;
}

bool IsRunning(CTestDigitalGraphManager* manager) {
  VARIANT_BOOL running = VARIANT_FALSE;
  return SUCCEEDED(manager->get_IsGraphRunning(&running)) && running == VARIANT_TRUE;
}

// A channel that calls `afterTune` when the graph manager reads its
// scrambling, which it does only once the tune is done.
class CChannelReadAfterTheTune : public CKxChannel {
 public:
  explicit CChannelReadAfterTheTune(std::function<void()> afterTune) : m_afterTune(std::move(afterTune)) {}
  HRESULT get_Scrambled(VARIANT_BOOL* scrambled) override {
    m_afterTune();
    return CKxChannel::get_Scrambled(scrambled);
  }

 private:
  std::function<void()> m_afterTune;
};
}  // namespace

TEST_F(DigitalGraphTest, PutChannelWithoutAGraphFailsWithoutTuning) {
  auto manager = NewManager({}, false);
  auto channel = DemoChannel(DemoFile(1), kMux1KHz);
  EXPECT_EQ(manager->put_Channel(nullptr), E_POINTER);
  EXPECT_EQ(manager->put_Channel(channel.Get()), E_FAIL);
  EXPECT_FALSE(m_log.Contains("Execute Command Tune Request"));
}

TEST_F(DigitalGraphTest, SwitchingTheCaptureGraphDeliversOnlyTheNewMultiplex) {
  constexpr uint64_t kBytesPerMs = 1000;
  const std::string rate = "bitrate=\"" + std::to_string(kBytesPerMs * 8000) + "\"";
  auto manager = NewManager({{kMux1KHz, DemoFile(1), rate}, {kMux2KHz, DemoFile(2), rate}}, false);
  auto recorder = ComObject<CStreamRecorder>::Make();
  ASSERT_EQ(manager->put_OutputTarget(2, UnknownVariant(recorder.Get())), S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Capture), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);

  // Scrambled, and no plug-in for conditional access: the switch goes on.
  auto first = DemoChannel(DemoFile(1), kMux1KHz);
  ASSERT_EQ(first->put_Scrambled(VARIANT_TRUE), S_OK);
  ASSERT_EQ(manager->put_Channel(first.Get()), S_OK);
  EXPECT_TRUE(m_log.Contains("Scrambled channel, trying to apply CA..."));
  EXPECT_FALSE(m_log.Contains("Execute Command ApplyCA"));
  EXPECT_TRUE(m_log.Contains("Execute Command Tune Request DVB-T. Frequency: 506000, Bandwidth: 8"));
  EXPECT_FALSE(m_log.Contains("Plugin execution failed!"));
  const auto reader = PsiReader(manager.Get());
  ASSERT_TRUE(DriveUntil([&] {
    VARIANT_BOOL exists = VARIANT_FALSE;
    return SUCCEEDED(reader->get_StreamExist(&exists)) && exists == VARIANT_TRUE;
  }));
  ComPtr<IKxEnumPidInfo> pidInfos;
  ASSERT_EQ(manager->get_PidInfos(pidInfos.Put()), S_OK);
  LONG expected = 0;
  LONG listed = 0;
  for (ComPtr<IKxPidInfo> info; pidInfos->Next(1, info.Put(), nullptr) == S_OK;) ++listed;
  ASSERT_EQ(first->get_PidInfoCount(&expected), S_OK);
  EXPECT_EQ(listed, expected);
  VARIANT_BOOL scrambled = VARIANT_TRUE;
  ASSERT_TRUE(DriveUntil([&] { return manager->get_IsScrambled(&scrambled) == S_OK; }));
  EXPECT_EQ(scrambled, VARIANT_FALSE);

  const std::string newFile = ReadFileBytes(DemoFile(2));
  ASSERT_FALSE(newFile.empty());
  const std::string oldFile = ReadFileBytes(DemoFile(1));
  const std::string newStart = newFile.substr(0, 4096);
  ComPtr<IUnknown> sinkObject;
  ASSERT_EQ(manager->GetFilter(KxFLTTransportStreamSink, sinkObject.Put()), S_OK);
  auto* sink = dynamic_cast<CTransportStreamSinkFilter*>(QueryAs<IBaseFilter>(sinkObject.Get()).Get());
  ASSERT_NE(sink, nullptr);
  // Air time runs on while the switch is made: the new multiplex's first
  // bytes reach the host before put_Channel has returned, and more of them
  // wait in the sink for a host that fell behind.
  auto second = ComObject<CChannelReadAfterTheTune>::Make([&] {
    ASSERT_TRUE(DriveUntil([&] { return recorder->Bytes().find(newStart) != std::string::npos; }));
    recorder->Hold(std::chrono::seconds(5));
    ASSERT_TRUE(DriveUntil([&] { return recorder->Waiting() && sink->BufferedBytes() > 0; }));
  });
  DescribeDemoChannel(second.Get(), DemoFile(2), kMux2KHz);
  EXPECT_EQ(manager->put_Channel(second.Get()), S_OK);
  // Nothing was cleared after the tune: that would have waited for the host.
  EXPECT_TRUE(recorder->Waiting());
  recorder->CatchUp();
  EXPECT_TRUE(IsRunning(manager.Get()));
  const size_t wanted = std::min<size_t>(newFile.size() / 2, 20 * CVirtualTunerFilter::kSampleBytes);
  ASSERT_TRUE(DriveUntil([&] {
    const std::string bytes = recorder->Bytes();
    const size_t at = bytes.find(newStart);
    return at != std::string::npos && bytes.size() >= at + wanted;
  }));
  // The old multiplex (less what it had buffered at the switch), then the new
  // one from its first byte on, without a gap.
  const std::string bytes = recorder->Bytes();
  const size_t switchedAt = bytes.find(newStart);
  ASSERT_GE(switchedAt, newStart.size());
  EXPECT_EQ(bytes.compare(0, newStart.size(), oldFile, 0, newStart.size()), 0);
  EXPECT_EQ(bytes.compare(switchedAt, wanted, newFile, 0, wanted), 0);
  // The renderer forgot the old multiplex and reads the new one.
  LONG oldService = 0, newService = 0;
  ASSERT_EQ(first->get_ServiceId(&oldService), S_OK);
  ASSERT_EQ(second->get_ServiceId(&newService), S_OK);
  ASSERT_NE(oldService, newService);
  ASSERT_TRUE(DriveUntil([&] { return HasPmtOf(reader.Get(), newService); }));
  EXPECT_FALSE(HasPmtOf(reader.Get(), oldService));
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}

TEST_F(DigitalGraphTest, ANewChannelKindRebuildsOnceAndTheGraphKeepsRunning) {
  auto manager = NewManager({{kMux1KHz, DemoFile(1), ""}, {kMux2KHz, DemoFile(2), ""}}, false);
  ASSERT_EQ(manager->put_VideoRenderer(VARIANT_TRUE, nullptr), S_OK);
  ASSERT_EQ(manager->put_AudioRenderer(VARIANT_TRUE), S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  const std::string rebuild = "Channel type was changed -> rebuild graph";

  // The device has no record yet: its demultiplexer has no stream pins.
  auto first = DemoChannel(DemoFile(1), kMux1KHz);
  ASSERT_EQ(manager->put_Channel(first.Get()), S_OK);
  EXPECT_EQ(Occurrences(m_log.Text(), rebuild), 1u);
  EXPECT_TRUE(IsRunning(manager.Get()));
  EXPECT_EQ(MappedPids(manager.Get(), MEDIATYPE_Video), std::vector<ULONG>{ULONG(DefaultPid(first.Get(), true))});
  EXPECT_EQ(MappedPids(manager.Get(), MEDIATYPE_Audio), std::vector<ULONG>{ULONG(DefaultPid(first.Get(), false))});
  ASSERT_EQ(manager->put_AudioProperty(KxAudioProperty_Volume, -1200), S_OK);

  // Standard definition to standard definition: the graph stays.
  auto second = DemoChannel(DemoFile(2), kMux2KHz);
  ASSERT_EQ(manager->put_Channel(second.Get()), S_OK);
  EXPECT_EQ(Occurrences(m_log.Text(), rebuild), 1u);
  EXPECT_EQ(MappedPids(manager.Get(), MEDIATYPE_Video), std::vector<ULONG>{ULONG(DefaultPid(second.Get(), true))});

  // The last channel was high definition: back to standard definition rebuilds once more.
  DeviceRecordTable::Set(m_moniker, KxDeviceRecord_HighDefinition, 1);
  ASSERT_EQ(manager->put_Channel(first.Get()), S_OK);
  EXPECT_EQ(Occurrences(m_log.Text(), rebuild), 2u);
  EXPECT_TRUE(IsRunning(manager.Get()));
  // The volume survives the new renderer.
  LONG volume = 0;
  ASSERT_EQ(manager->get_AudioProperty(KxAudioProperty_Volume, &volume), S_OK);
  EXPECT_EQ(volume, -1200);
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}

TEST_F(DigitalGraphTest, AMissingStreamIsNotMappedToItsDecoder) {
  auto manager = NewManager({{kMux1KHz, DemoFile(1), ""}}, false);
  ASSERT_EQ(manager->put_VideoRenderer(VARIANT_TRUE, nullptr), S_OK);
  ASSERT_EQ(manager->put_AudioRenderer(VARIANT_TRUE), S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  // A radio channel: audio and PMT only.
  auto radio = ComObject<CKxChannel>::Make();
  radio->put_Type(KxChannelType_DvbtRadio);
  radio->put_CarrierFrequency(kMux1KHz);
  radio->put_Bandwidth(8);
  radio->AddAudioPid(0x101, 3, u"", false);
  radio->AddPmtPid(0x100);
  ASSERT_EQ(manager->put_Channel(radio.Get()), S_OK);
  EXPECT_EQ(MappedPids(manager.Get(), MEDIATYPE_Video), std::vector<ULONG>{});
  EXPECT_EQ(MappedPids(manager.Get(), MEDIATYPE_Audio), std::vector<ULONG>{0x101});
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}

TEST_F(DigitalGraphTest, ADeviceNeedingTwoTuneRequestsGetsEachSwitchTunedTwice) {
  auto manager = NewManager({{kMux1KHz, DemoFile(1), ""}}, false);
  m_device->m_secondTuneRequest = true;
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  auto channel = DemoChannel(DemoFile(1), kMux1KHz);
  ASSERT_EQ(manager->put_Channel(channel.Get()), S_OK);
  const std::string text = m_log.Text();
  EXPECT_EQ(Occurrences(text, "Second tune request required..."), 1u);
  EXPECT_EQ(Occurrences(text, "Execute Command Tune Request DVB-T."), 2u);
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}

TEST_F(DigitalGraphTest, TheBackgroundGuideFollowsTheSwitchToTheNewMultiplex) {
  auto manager = NewManager({{kMux1KHz, DemoFile(1), ""}, {kMux2KHz, DemoFile(2), ""}}, false);
  auto guide = ComObject<CEpgRecorder>::Make();
  LONG cookie = 0;
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(manager->RegisterCallback(KxCallbackType_EpgEvents, guide.Get(), &cookie), S_OK);
  ASSERT_EQ(manager->put_BackgroundEpg(VARIANT_TRUE), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  const auto eventsOf = [&](LONG transportStreamId) {
    const std::set<GuideEvent> events = guide->Events();
    return std::count_if(events.begin(), events.end(),
                         [&](const GuideEvent& e) { return e.transportStreamId == transportStreamId; });
  };
  auto first = DemoChannel(DemoFile(1), kMux1KHz);
  auto second = DemoChannel(DemoFile(2), kMux2KHz);
  LONG firstTid = 0, secondTid = 0;
  ASSERT_EQ(first->get_TransportStreamId(&firstTid), S_OK);
  ASSERT_EQ(second->get_TransportStreamId(&secondTid), S_OK);
  ASSERT_EQ(manager->put_Channel(first.Get()), S_OK);
  ASSERT_TRUE(DriveUntil([&] { return eventsOf(firstTid) > 0; }));
  // Long enough for every loop of the first multiplex: what it tells of the
  // second one (present and following only) has come.
  const uint64_t until = m_clock->NowMs() + 30000;
  ASSERT_TRUE(DriveUntil([&] { return m_clock->NowMs() >= until; }));
  const auto toldBefore = eventsOf(secondTid);

  ASSERT_EQ(manager->put_Channel(second.Get()), S_OK);
  // The second multiplex's own schedule: the guide runs on it.
  ASSERT_TRUE(DriveUntil([&] { return eventsOf(secondTid) > toldBefore; }));
  VARIANT_BOOL background = VARIANT_FALSE;
  ASSERT_EQ(manager->get_BackgroundEpg(&background), S_OK);
  EXPECT_EQ(background, VARIANT_TRUE);
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}
