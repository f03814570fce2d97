#include <cstdio>
#include <fstream>
#include <sstream>

#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"
#include "DSFilters/TransportStreamCallback/TransportStreamCallbackFilter.h"
#include "GraphManager/DigitalGraphTestSupport.h"
#include "interfaces/KxFilterRole.h"
#include "support/FileBytes.h"
#include "support/LoopedFile.h"
#include "support/TestData.h"

namespace {
std::multiset<std::string> FilterNames(KxFilterGraph* graph) {
  std::vector<ComPtr<IBaseFilter>> filters;
  EXPECT_EQ(graph->EnumFilters(&filters), S_OK);
  std::multiset<std::string> names;
  for (const auto& filter : filters) {
    std::u16string name;
    filter->QueryFilterName(&name);
    names.insert(Utf16ToUtf8(name));
  }
  return names;
}

constexpr LONG kDemoMux2KHz = 522000;
constexpr LONG kSilentKHz = 498000;
}  // namespace

TEST_F(DigitalGraphTest, BuildsTheReceivingGraphOfEachKind) {
  struct Case {
    LONG graphType;
    bool streamDump;
    std::multiset<std::string> extra;  // besides the front end, tee, demultiplexer and PSI renderer
  };
  const Case cases[] = {
      {KxGraphType_Playback, false, {}},
      {KxGraphType_Capture, false, {"TransportStreamSink"}},
      {KxGraphType_Playback, true, {"VTest"}},
  };
  for (const Case& c : cases) {
    m_log.Root().WriteSettings("machine", c.streamDump ? "DigitalStreamDump=1\n" : "DigitalStreamDump=0\n");
    auto manager = NewManager({{kDemoMux2KHz, DemoFile(2), ""}}, false);
    auto recorder = ComObject<CStreamRecorder>::Make();
    ASSERT_EQ(manager->put_OutputTarget(2, UnknownVariant(recorder.Get())), S_OK);
    ASSERT_EQ(manager->BuildGraph(c.graphType), S_OK) << c.graphType;
    std::multiset<std::string> expected = {"Vista NP", "Fake Tuner", "TS Blocker", "InfTee", "MPEG2 Demux",
                                           "PSI Renderer"};
    expected.insert(c.extra.begin(), c.extra.end());
    EXPECT_EQ(FilterNames(manager->Graph()), expected) << c.graphType;
    // The demultiplexer of a never tuned device has no stream pins left.
    ComPtr<IUnknown> demux;
    ASSERT_EQ(manager->GetFilter(KxFLTMpeg2Demux, demux.Put()), S_OK);
    ComPtr<IPin> output;
    EXPECT_EQ(DSH::GetPin(QueryAs<IBaseFilter>(demux.Get()).Get(), PINDIR_OUTPUT, 0, output.Put()), VFW_E_NOT_FOUND);
    EXPECT_TRUE(Usage().inUse);
    EXPECT_EQ(manager->DeleteGraph(), S_OK);
    EXPECT_FALSE(Usage().inUse);
  }
}

TEST_F(DigitalGraphTest, CaptureBackEndsAreNotAvailableAndLeaveTheDeviceFree) {
  for (const LONG graphType : {KxGraphType_Mpeg, KxGraphType_Avi, KxGraphType_Dv, KxGraphType_Wav, KxGraphType_Wmv}) {
    auto manager = NewManager({{kDemoMux2KHz, DemoFile(2), ""}}, false);
    EXPECT_EQ(manager->BuildGraph(graphType), E_NOTIMPL) << graphType;
    VARIANT_BOOL built = VARIANT_TRUE;
    EXPECT_EQ(manager->get_IsGraphBuilt(&built), S_OK);
    EXPECT_EQ(built, VARIANT_FALSE);
    EXPECT_FALSE(Usage().inUse) << graphType;
    EXPECT_TRUE(m_log.Contains("Graph type " + std::to_string(graphType) + ": capture back-end not available"));
  }
}

TEST_F(DigitalGraphTest, StreamsIntoThePsiRendererAndReportsOneLockChange) {
  auto manager = NewManager({{kDemoMux2KHz, DemoFile(2), R"(strength="71" quality="64")"}});
  auto signals = ComObject<CRecordingCallback>::Make();
  LONG cookie = 0;
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(manager->RegisterCallback(KxCallbackType_Signal, static_cast<IKxSignalCallback*>(signals.Get()), &cookie),
            S_OK);
  ASSERT_EQ(Tune(manager.Get(), kSilentKHz), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  ASSERT_TRUE(DriveUntil([&] { return !signals->Signals().empty(); }));
  const std::string device = Utf16ToUtf8(m_moniker);
  EXPECT_EQ(signals->Signals().front(), (CRecordingCallback::Signal{device, false, 0, 0}));

  ASSERT_EQ(Tune(manager.Get(), kDemoMux2KHz), S_OK);
  const auto reader = PsiReader(manager.Get());
  ASSERT_TRUE(DriveUntil([&] {
    VARIANT_BOOL exists = VARIANT_FALSE;
    return SUCCEEDED(reader->get_StreamExist(&exists)) && exists == VARIANT_TRUE;
  }));
  ASSERT_TRUE(DriveUntil([&] { return signals->Signals().size() >= 2; }));
  // Long after the change, still the one notification of it.
  const uint64_t until = m_clock->NowMs() + 10000;
  ASSERT_TRUE(DriveUntil([&] { return m_clock->NowMs() >= until; }));
  const std::vector<CRecordingCallback::Signal> expected = {{device, false, 0, 0}, {device, true, 64, 71}};
  EXPECT_EQ(signals->Signals(), expected);
  VARIANT_BOOL locked = VARIANT_FALSE;
  LONG quality = 0, strength = 0;
  ASSERT_EQ(manager->get_SignalStatus(&locked, &quality, &strength), S_OK);
  EXPECT_EQ(locked, VARIANT_TRUE);
  EXPECT_EQ(quality, 64);
  EXPECT_EQ(strength, 71);

  ASSERT_EQ(manager->StopGraph(), S_OK);
  EXPECT_TRUE(Usage().inUse);
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
  EXPECT_FALSE(Usage().inUse);
  EXPECT_EQ(manager->get_SignalStatus(&locked, &quality, &strength), S_OK);
}

TEST_F(DigitalGraphTest, TransportStreamCallbackReceivesTheTunedFileAcrossTheLoopPoint) {
  const std::string file = ReadFileBytes(DemoFile(2));
  ASSERT_FALSE(file.empty());
  constexpr uint64_t kBytesPerMs = 1000;
  auto manager = NewManager({{kDemoMux2KHz, DemoFile(2), "bitrate=\"" + std::to_string(kBytesPerMs * 8000) + "\""}}, false);
  auto recorder = ComObject<CStreamRecorder>::Make();
  ASSERT_EQ(manager->put_OutputTarget(2, UnknownVariant(recorder.Get())), S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Capture), S_OK);
  ASSERT_EQ(Tune(manager.Get(), kDemoMux2KHz), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  ComPtr<IUnknown> sinkObject;
  ASSERT_EQ(manager->GetFilter(KxFLTTransportStreamSink, sinkObject.Put()), S_OK);
  auto* sink = dynamic_cast<CTransportStreamSinkFilter*>(QueryAs<IBaseFilter>(sinkObject.Get()).Get());
  ASSERT_NE(sink, nullptr);
  // The clock moves on only once the host has what was due so far, as a host
  // that keeps up with the tuner would.
  const size_t wanted = file.size() + 3 * CVirtualTunerFilter::kSampleBytes;
  const uint64_t started = m_clock->NowMs();
  ASSERT_TRUE(DriveUntil([&] {
    const uint64_t due = (m_clock->NowMs() - started) * kBytesPerMs;
    const size_t behind = 2 * CVirtualTunerFilter::kSampleBytes;
    // Generous: a sanitizer build on a loaded machine is slow, and only a
    // stalled delivery should make the clock run ahead of the host.
    if (due > behind && !recorder->WaitForSize(due - behind, std::chrono::seconds(60))) {
      ADD_FAILURE() << "the delivery stalled at " << recorder->Size() << " bytes";
      return true;
    }
    return recorder->Size() >= wanted;
  }));
  ASSERT_EQ(manager->StopGraph(), S_OK);
  EXPECT_EQ(sink->LostBytes(), 0u);
  const std::string received = recorder->Bytes();
  EXPECT_GE(received.size(), wanted);
  EXPECT_TRUE(IsFileInALoop(received, file));
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}

namespace {
// What the offline analysis of `dtv analyze --epg` finds in a recording.
std::set<GuideEvent> AnalyzedGuide(const std::string& path) {
  const RecordingAnalysis analysis = AnalyzeRecordingFile(path, false, true);
  std::set<GuideEvent> result;
  AutoLock lock(analysis.events->Lock());
  for (const auto& [key, entry] : analysis.events->Entries()) {
    const CEpgEvent& e = entry.event;
    result.insert({e.m_lEventId, e.m_lServiceId, e.m_lTransportStreamId, e.m_lOriginalNetworkId,
                   Utf16ToUtf8(e.m_bstrEventName), UtcSecondsToLocalDate(e.m_llStartTime),
                   UtcSecondsToLocalDate(e.m_llEndTime)});
  }
  return result;
}
}  // namespace

TEST_F(DigitalGraphTest, ForegroundAndBackgroundGuideEqualTheOfflineAnalysis) {
  REQUIRE_SHARED_FILE(recording, "test-108.ts");
  const std::set<GuideEvent> expected = AnalyzedGuide(recording.string());
  ASSERT_FALSE(expected.empty());
  auto manager = NewManager({{kDemoMux2KHz, recording.string(), ""}});
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(Tune(manager.Get(), kDemoMux2KHz), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);

  ASSERT_EQ(manager->StartEpgScan(), S_OK);
  EXPECT_EQ(manager->put_BackgroundEpg(VARIANT_TRUE), E_FAIL);
  ASSERT_TRUE(DriveSettledUntil([&] {
    VARIANT_BOOL completed = VARIANT_FALSE;
    return SUCCEEDED(manager->get_IsEpgScanCompleted(&completed)) && completed == VARIANT_TRUE;
  }));
  ComPtr<IKxEpgEvents> events;
  ASSERT_EQ(manager->get_EpgEvents(events.Put()), S_OK);
  EXPECT_EQ(GuideEventsOf(events.Get()), expected);
  ASSERT_EQ(manager->StopEpgScan(), S_OK);
  EXPECT_EQ(manager->StopEpgScan(), E_FAIL);

  // Wanted while running: the collection starts with the next start.
  auto recorder = ComObject<CEpgRecorder>::Make();
  LONG cookie = 0;
  ASSERT_EQ(manager->RegisterCallback(KxCallbackType_EpgEvents, recorder.Get(), &cookie), S_OK);
  ASSERT_EQ(manager->put_BackgroundEpg(VARIANT_TRUE), S_OK);
  EXPECT_EQ(manager->StartEpgScan(), E_FAIL);
  ASSERT_EQ(manager->StopGraph(), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  ASSERT_TRUE(DriveUntil([&] { return recorder->Events().size() >= expected.size(); }));
  EXPECT_EQ(recorder->Events(), expected);
  EXPECT_EQ(recorder->Device(), Utf16ToUtf8(m_moniker));

  ASSERT_EQ(manager->DeleteGraph(), S_OK);
  VARIANT_BOOL background = VARIANT_TRUE;
  ASSERT_EQ(manager->get_BackgroundEpg(&background), S_OK);
  EXPECT_EQ(background, VARIANT_FALSE);
  EXPECT_FALSE(Usage().inUse);
}

namespace {
// The first service of the recording's SDT and its free_CA_mode, as libdvbpsi read them.
std::pair<LONG, bool> FirstServiceOf(const std::filesystem::path& reference) {
  std::ifstream in(reference);
  std::string line;
  while (std::getline(in, line)) {
    LONG service = 0, freeCa = 0;
    if (std::sscanf(line.c_str(), " service %d free_ca=%d", &service, &freeCa) == 2) return {service, freeCa != 0};
  }
  return {-1, false};
}
}  // namespace

TEST_F(DigitalGraphTest, ScramblingAndTransponderAreAnsweredWhileTheBackgroundGuideRuns) {
  struct Case {
    std::string name;
    // Whether the NIT describes the stream (test-108's under another network
    // than its original one, which the SDT names).
    bool describesItself;
  };
  for (const Case& c : {Case{"test-018", true}, Case{"test-108", true}}) {
    const std::string& name = c.name;
    REQUIRE_SHARED_FILE(recording, name + ".ts");
    REQUIRE_SHARED_FILE(reference, "reference/" + name + ".libdvbpsi.txt");
    const std::pair<LONG, bool> first = FirstServiceOf(reference);
    const LONG service = first.first;
    const bool scrambled = first.second;
    ASSERT_NE(service, -1) << name;
    const TransportStreamAnalysis analysis = AnalyzeRecordingFile(recording.string(), false, false).channels;
    const std::vector<CChannel> channels = analysis.channels->Copy();
    ASSERT_FALSE(channels.empty()) << name;
    const LONG frequency = channels.front().m_nCarrierFrequency;

    auto manager = NewManager({{kDemoMux2KHz, recording.string(), ""}});
    auto callback = ComObject<CRecordingCallback>::Make();
    LONG cookie = 0;
    ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
    ASSERT_EQ(manager->RegisterCallback(KxCallbackType_Scrambled, static_cast<IKxScrambledCallback*>(callback.Get()),
                                        &cookie),
              S_OK);
    manager->SetCurrentService(service);
    ASSERT_EQ(manager->put_BackgroundEpg(VARIANT_TRUE), S_OK);
    ASSERT_EQ(Tune(manager.Get(), kDemoMux2KHz), S_OK);
    ASSERT_EQ(manager->StartGraph(), S_OK);
    ASSERT_TRUE(DriveUntil([&] {
      const std::vector<bool> seen = callback->Scrambled();
      VARIANT_BOOL answer = VARIANT_FALSE;
      return !seen.empty() && seen.back() == scrambled && SUCCEEDED(manager->get_IsScrambled(&answer)) &&
             (answer == VARIANT_TRUE) == scrambled;
    })) << name;
    ComPtr<IKxTransponderInfo> transponder;
    // A stream whose NIT does not describe it: long enough for every table to have come round.
    const uint64_t until = m_clock->NowMs() + 15000;
    ASSERT_TRUE(DriveUntil([&] {
      LONG value = -1;
      return SUCCEEDED(manager->get_TransponderInfo(transponder.Put())) &&
             SUCCEEDED(transponder->get_Frequency(&value)) &&
             (value != -1 || (!c.describesItself && m_clock->NowMs() >= until));
    })) << name;
    LONG value = -1;
    ASSERT_EQ(transponder->get_Frequency(&value), S_OK);
    EXPECT_EQ(value, c.describesItself ? frequency : -1) << name;
    VARIANT_BOOL background = VARIANT_FALSE;
    ASSERT_EQ(manager->get_BackgroundEpg(&background), S_OK);
    EXPECT_EQ(background, VARIANT_TRUE) << name;
    ASSERT_EQ(manager->DeleteGraph(), S_OK);
    ComPtr<IKxTransponderInfo> none;
    EXPECT_EQ(manager->get_TransponderInfo(none.Put()), E_NOINTERFACE) << name;
  }
}

TEST_F(DigitalGraphTest, AGuideCallbackMayDeleteTheGraph) {
  REQUIRE_SHARED_FILE(recording, "test-108.ts");
  auto manager = NewManager({{kDemoMux2KHz, recording.string(), ""}});
  // Deletes the graph from the background guide's own thread.
  struct CDeletingRecorder : CEpgRecorder {
    CTestDigitalGraphManager* manager = nullptr;
    std::atomic<bool> deleted{false};
    HRESULT OnEpgEvents(BSTR device, IKxEpgEvents* events) override {
      CEpgRecorder::OnEpgEvents(device, events);
      if (!deleted.exchange(true)) manager->DeleteGraph();
      return S_OK;
    }
  };
  auto recorder = ComObject<CDeletingRecorder>::Make();
  recorder->manager = manager.Get();
  LONG cookie = 0;
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(manager->RegisterCallback(KxCallbackType_EpgEvents, recorder.Get(), &cookie), S_OK);
  ASSERT_EQ(manager->put_BackgroundEpg(VARIANT_TRUE), S_OK);
  ASSERT_EQ(Tune(manager.Get(), kDemoMux2KHz), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  ASSERT_TRUE(DriveUntil([&] { return !Usage().inUse; }));
  EXPECT_TRUE(recorder->deleted);
  VARIANT_BOOL built = VARIANT_TRUE;
  ASSERT_EQ(manager->get_IsGraphBuilt(&built), S_OK);
  EXPECT_EQ(built, VARIANT_FALSE);
  // A new graph on the same manager, with its own guide.
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  EXPECT_EQ(manager->StartEpgScan(), S_OK);
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}

TEST_F(DigitalGraphTest, ATunerThatCannotBeMadeFailsBothProviderAttempts) {
  auto manager = NewManager({}, false);
  m_device = ComObject<CFakeCaptureDevice>::Make(u"virtualdvb:" + Utf8ToUtf16(m_env.dir / "missing.xml") + u"#t");
  ASSERT_EQ(manager->Initialize(m_device.Get(), false), S_OK);
  EXPECT_TRUE(FAILED(manager->BuildGraph(KxGraphType_Playback)));
  VARIANT_BOOL built = VARIANT_TRUE;
  ASSERT_EQ(manager->get_IsGraphBuilt(&built), S_OK);
  EXPECT_EQ(built, VARIANT_FALSE);
  // The generic provider first, then the legacy one of the device's network.
  const std::string log = m_log.Text();
  const size_t vista = log.find("AddFilterToGraph: Vista NP");
  const size_t legacy = log.find("AddFilterToGraph: Network Provider");
  ASSERT_NE(vista, std::string::npos);
  ASSERT_NE(legacy, std::string::npos);
  EXPECT_LT(vista, legacy);
  EXPECT_NE(log.find("(hr) = (LoadNetworkTuner())", legacy), std::string::npos);
  EXPECT_FALSE(DeviceLocks::Query(u"virtualdvb:" + Utf8ToUtf16(m_env.dir / "missing.xml") + u"#t").inUse);
}
