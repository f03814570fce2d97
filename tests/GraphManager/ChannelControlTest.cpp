// Channel control on the virtual DVB-T tuner of the demo network, through
// the graph manager's host interfaces.
#include "Channel/KxChannel.h"
#include "GraphManager/DemoChannels.h"
#include "GraphManager/DeviceRecordTable.h"
#include "GraphManager/DigitalGraphTestSupport.h"
#include "interfaces/KxFilterRole.h"
#include "support/FileBytes.h"

namespace {
constexpr LONG kMux1KHz = 506000;
constexpr LONG kMux2KHz = 522000;

// The first TV service of a demo multiplex as the host stores it.
ComPtr<ComObject<CKxChannel>> DemoChannel(const std::string& file, LONG frequencyKHz) {
  auto channel = ComObject<CKxChannel>::Make();
  DemoService service;
  if (!FirstTvService(file, &service)) {
    ADD_FAILURE() << "no TV service in " << file;
    return channel;
  }
  channel->put_Type(KxChannelType_DvbtTv);
  channel->put_Title(BStr(Utf8ToUtf16(service.name)).Get());
  channel->put_CarrierFrequency(frequencyKHz);
  channel->put_Bandwidth(8);
  channel->put_NetworkId(service.networkId);
  channel->put_ServiceId(service.serviceId);
  channel->put_TransportStreamId(service.transportStreamId);
  channel->AddVideoPid(service.videoPid, service.videoType);
  channel->AddAudioPid(service.audioPid, service.audioType, u"", service.ac3);
  channel->AddPmtPid(service.pmtPid);
  return channel;
}

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

bool IsRunning(CTestDigitalGraphManager* manager) {
  VARIANT_BOOL running = VARIANT_FALSE;
  return SUCCEEDED(manager->get_IsGraphRunning(&running)) && running == VARIANT_TRUE;
}
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

  auto first = DemoChannel(DemoFile(1), kMux1KHz);
  ASSERT_EQ(manager->put_Channel(first.Get()), S_OK);
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
  auto second = DemoChannel(DemoFile(2), kMux2KHz);
  ASSERT_EQ(manager->put_Channel(second.Get()), S_OK);
  EXPECT_TRUE(IsRunning(manager.Get()));
  const size_t mark = recorder->Size();
  const size_t wanted = std::min<size_t>(newFile.size() / 2, 20 * CVirtualTunerFilter::kSampleBytes);
  ASSERT_TRUE(DriveUntil([&] { return recorder->Size() >= mark + wanted; }));
  const std::string after = recorder->Bytes().substr(mark, wanted);
  // Every byte after the switch is a run of the new multiplex's file.
  EXPECT_NE((newFile + newFile).find(after), std::string::npos);
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
