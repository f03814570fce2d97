// The host-facing facets of the digital graph manager with and without a graph.
#include "DSFilters/PsiRenderer/RecordingAnalysis.h"
#include "GraphManager/DeviceRecordTable.h"
#include "GraphManager/DigitalGraphTestSupport.h"
#include "interfaces/KxFilterRole.h"
#include "support/TestData.h"

namespace {
constexpr LONG kTunedKHz = 522000;
}  // namespace

TEST_F(DigitalGraphTest, DigitalInterfacesAreAnsweredWithOneIdentity) {
  auto manager = NewManager({}, false);
  const GUID iids[] = {IidOf<IKxGraphManagerChannelControl>(), IidOf<IKxEpgManager>(),
                       IidOf<IKxGraphManagerExtraInfo>(), IidOf<IKxGraphManagerAudioPropertyControl>(),
                       IidOf<IKxDevicePluginControl>(), IidOf<IKxGraphManager>()};
  const ComPtr<IUnknown> identity = QueryAs<IUnknown>(static_cast<IKxGraphManager*>(manager.Get()));
  for (const GUID& iid : iids) {
    ComPtr<IUnknown> facet;
    ASSERT_EQ(manager->QueryInterface(iid, facet.PutVoid()), S_OK) << GuidToString(iid);
    EXPECT_EQ(QueryAs<IUnknown>(facet.Get()), identity) << GuidToString(iid);
  }
  auto callback = ComObject<CRecordingCallback>::Make();
  for (const LONG type : {1, 2, 3, 4, 5, 6, 7, 8, 9}) {
    LONG cookie = 0;
    const bool supported = type == 4 || type == 5 || type == 6 || type == 8;
    EXPECT_EQ(SUCCEEDED(manager->RegisterCallback(type, static_cast<IKxSignalCallback*>(callback.Get()), &cookie)),
              supported)
        << type;
  }
}

TEST_F(DigitalGraphTest, WithoutAGraphTheGuideAndSignalFacetsFail) {
  auto manager = NewManager({}, false);
  VARIANT_BOOL flag = VARIANT_FALSE;
  ComPtr<IKxEpgEvents> events;
  ComPtr<IKxTransponderInfo> transponder;
  ComPtr<IUnknown> info;
  EXPECT_EQ(manager->StartEpgScan(), E_POINTER);
  EXPECT_EQ(manager->StopEpgScan(), E_FAIL);
  EXPECT_EQ(manager->get_IsEpgScanCompleted(&flag), E_POINTER);
  EXPECT_EQ(manager->get_EpgEvents(events.Put()), E_POINTER);
  EXPECT_EQ(manager->get_TransponderInfo(transponder.Put()), E_NOINTERFACE);
  EXPECT_EQ(manager->put_Channel(nullptr), E_POINTER);
  // Wanted on a manager without a graph: only the state changes.
  EXPECT_EQ(manager->put_BackgroundEpg(VARIANT_TRUE), S_OK);
  EXPECT_EQ(manager->get_BackgroundEpg(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);
  EXPECT_EQ(manager->StartEpgScan(), E_FAIL);
  EXPECT_EQ(manager->put_BackgroundEpg(VARIANT_FALSE), S_OK);
  struct Case {
    LONG type;
    HRESULT expected;
  };
  const Case cases[] = {{1, E_INVALIDARG}, {2, E_POINTER}, {3, E_POINTER}, {4, E_POINTER}, {6, E_INVALIDARG},
                        {7, E_INVALIDARG}, {8, E_INVALIDARG}, {10, E_POINTER}, {13, E_INVALIDARG}};
  for (const Case& c : cases) EXPECT_EQ(manager->get_ExtraInfo(c.type, info.Put()), c.expected) << c.type;
  EXPECT_EQ(manager->get_ExtraInfo(2, nullptr), E_POINTER);
}

TEST_F(DigitalGraphTest, ExtraInformationHandsOutTheGraphsObjects) {
  auto manager = NewManager({{kTunedKHz, DemoFile(2), ""}}, false);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  struct Case {
    LONG type;
    LONG role;  // the filter handed out; -1 for none
    HRESULT expected;
  };
  const Case cases[] = {{2, KxFLTVideoSource, S_OK}, {4, KxFLTMpegPsiReader, S_OK}, {5, -1, E_NOINTERFACE}};
  for (const Case& c : cases) {
    ComPtr<IUnknown> info;
    EXPECT_EQ(manager->get_ExtraInfo(c.type, info.Put()), c.expected) << c.type;
    if (c.role < 0) continue;
    ComPtr<IUnknown> filter;
    ASSERT_EQ(manager->GetFilter(c.role, filter.Put()), S_OK);
    EXPECT_EQ(QueryAs<IUnknown>(info.Get()), QueryAs<IUnknown>(filter.Get())) << c.type;
  }
  ComPtr<IUnknown> tuner;
  ASSERT_EQ(manager->get_ExtraInfo(3, tuner.Put()), S_OK);
  EXPECT_TRUE(QueryAs<IScanningTuner>(tuner.Get()));
  // Only the built-in plug-in is there: it tunes every delivery system and does no conditional access.
  LONG plugins = -1, caps = 0;
  ASSERT_EQ(manager->get_DevicePluginCount(&plugins), S_OK);
  ASSERT_EQ(plugins, 1);
  ASSERT_EQ(manager->get_DevicePluginCapabilities(0, &caps), S_OK);
  EXPECT_EQ(manager->get_DevicePluginCapabilities(1, &caps), E_INVALIDARG);
  for (const LONG type : {9, 10, 11, 12}) {
    ComPtr<IUnknown> plugin, found;
    const LONG capability = 4 << (type - 9);
    EXPECT_EQ(manager->get_ExtraInfo(type, plugin.Put()), (caps & capability) ? S_OK : S_FALSE) << type;
    EXPECT_EQ(manager->FindDevicePlugin(capability, found.Put()), (caps & capability) ? S_OK : S_FALSE) << type;
    EXPECT_EQ(QueryAs<IUnknown>(plugin.Get()), QueryAs<IUnknown>(found.Get())) << type;
  }
  ComPtr<IUnknown> conditionalAccess;
  EXPECT_EQ(manager->FindDevicePlugin(64, conditionalAccess.Put()), (caps & 64) ? S_OK : S_FALSE);
  EXPECT_EQ(manager->DeleteGraph(), S_OK);
}

TEST_F(DigitalGraphTest, RenderersPlayTheLastChannelsStreamsAndTellTheirFormats) {
  // The streams of a TV service of a real recording, as the offline analysis finds them.
  REQUIRE_SHARED_FILE(recording, "test-108.ts");
  const RecordingAnalysis analysis = AnalyzeRecordingFile(recording.string(), false, false);
  const std::vector<CChannel> channels = analysis.channels.channels->Copy();
  const auto isVideo = [](const PidRecord& p) { return p.classification == PsiRenderer_StreamType_Video; };
  const auto channel = std::find_if(channels.begin(), channels.end(), [&](const CChannel& c) {
    return !c.m_vAudio.empty() && std::any_of(c.m_vPids.begin(), c.m_vPids.end(), isVideo);
  });
  ASSERT_NE(channel, channels.end());
  const auto video = std::find_if(channel->m_vPids.begin(), channel->m_vPids.end(), isVideo);
  const AudioRecord& audio = channel->m_vAudio.front();

  auto manager = NewManager({{kTunedKHz, recording.string(), ""}});
  const std::pair<LONG, int64_t> record[] = {{KxDeviceRecord_VideoPid, video->pid},
                                             {KxDeviceRecord_VideoStreamType, video->stream_type},
                                             {KxDeviceRecord_AudioPid, audio.pid},
                                             {KxDeviceRecord_AudioStreamType, audio.type},
                                             {KxDeviceRecord_Ac3, audio.ac3}};
  for (const auto& [id, value] : record) DeviceRecordTable::Set(m_moniker, id, value);
  ASSERT_EQ(manager->put_VideoRenderer(VARIANT_TRUE, nullptr), S_OK);
  ASSERT_EQ(manager->put_AudioRenderer(VARIANT_TRUE), S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(Tune(manager.Get(), kTunedKHz), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  ComPtr<IKxVideoInfo> videoInfo;
  LONG width = 0;
  ASSERT_TRUE(DriveUntil([&] {
    return SUCCEEDED(manager->get_VideoInfo(videoInfo.Put())) && SUCCEEDED(videoInfo->get_Width(&width)) && width > 0;
  }));
  ComPtr<IKxAudioInfo> audioInfo;
  LONG rate = 0;
  ASSERT_TRUE(DriveUntil([&] {
    return SUCCEEDED(manager->get_AudioInfo(audioInfo.Put())) && SUCCEEDED(audioInfo->get_SamplesPerSec(&rate)) &&
           rate > 0;
  }));

  // Volume and balance reach the audio renderer; the mixer of an audio source is not there.
  struct Case {
    LONG id;
    LONG value;
    HRESULT expected;
  };
  const Case cases[] = {{KxAudioProperty_Volume, -2500, S_OK},   {KxAudioProperty_Balance, 1200, S_OK},
                        {KxAudioProperty_Volume, 1, E_INVALIDARG}, {KxAudioProperty_MixLevel, 5, E_POINTER},
                        {KxAudioProperty_Bass, 5, E_POINTER},     {42, 5, S_OK}};
  for (const Case& c : cases) {
    LONG before = 0;
    const bool readable = SUCCEEDED(manager->get_AudioProperty(c.id, &before));
    EXPECT_EQ(manager->put_AudioProperty(c.id, c.value), c.expected) << c.id;
    LONG after = 7;
    const HRESULT read = manager->get_AudioProperty(c.id, &after);
    if (c.expected == S_OK && c.id <= KxAudioProperty_Balance) {
      EXPECT_EQ(after, c.value) << c.id;
    }
    if (c.expected == E_INVALIDARG) {
      EXPECT_EQ(after, before) << c.id;
    }
    if (c.id > KxAudioProperty_Balance) {
      EXPECT_EQ(after, 0) << c.id;
    }
    EXPECT_EQ(SUCCEEDED(read), readable) << c.id;
    VARIANT_BOOL supported = VARIANT_FALSE;
    EXPECT_EQ(manager->get_IsAudioPropertySupported(c.id, &supported), S_OK);
    EXPECT_EQ(supported == VARIANT_TRUE, c.id == KxAudioProperty_Volume || c.id == KxAudioProperty_Balance) << c.id;
  }
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
  for (const auto& [id, value] : record) DeviceRecordTable::Set(m_moniker, id, 0);
}
