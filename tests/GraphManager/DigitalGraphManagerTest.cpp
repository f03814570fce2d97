#include <fstream>
#include <sstream>

#include "GraphManager/DigitalGraphTestSupport.h"
#include "DSFilters/TransportStreamCallback/TransportStreamCallbackFilter.h"
#include "interfaces/KxFilterRole.h"

namespace {
std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

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

VARIANT UnknownVariant(IUnknown* object) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = object;
  return v;
}

// `bytes` is `file` played in a loop, from wherever the delivery began.
::testing::AssertionResult IsFileInALoop(const std::string& bytes, const std::string& file) {
  if (file.empty() || bytes.size() < 188) return ::testing::AssertionFailure() << "nothing to compare";
  const std::string twice = file + file;
  const size_t start = twice.find(bytes.substr(0, std::min<size_t>(bytes.size(), 4096)));
  if (start == std::string::npos || start >= file.size())
    return ::testing::AssertionFailure() << "the first bytes are not in the file";
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t offset = (start + pos) % file.size();
    const size_t n = std::min(file.size() - offset, bytes.size() - pos);
    if (bytes.compare(pos, n, file, offset, n) != 0) {
      size_t at = 0;
      while (bytes[pos + at] == file[offset + at]) ++at;
      return ::testing::AssertionFailure() << "differs at byte " << pos + at << " of " << bytes.size() << " (file offset "
                                           << offset + at << " of " << file.size() << ")";
    }
    pos += n;
  }
  return ::testing::AssertionSuccess();
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
  const std::string file = ReadAll(DemoFile(2));
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
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (recorder->Size() + 2 * CVirtualTunerFilter::kSampleBytes < due && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::yield();
    return recorder->Size() >= wanted;
  }));
  ASSERT_EQ(manager->StopGraph(), S_OK);
  EXPECT_EQ(sink->LostBytes(), 0u);
  const std::string received = recorder->Bytes();
  EXPECT_GE(received.size(), wanted);
  EXPECT_TRUE(IsFileInALoop(received, file));
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}
