#include <deque>
#include <optional>

#include "GraphManager/DeviceRecordTable.h"
#include "GraphManager/GraphManagerTestSupport.h"
#include "GraphManager/KxGraphManagerObserverThread.h"

namespace {
// A graph whose answers the test scripts. A check may take time on the
// manual clock.
class FakeObservedGraph : public IKxObservedGraph {
 public:
  bool TryLockGraph() override { return !busy; }
  void UnlockGraph() override {}
  HRESULT GetSignalStatus(bool* locked, LONG* quality, LONG* strength) override {
    ++signalPolls;
    if (clock) clock->Advance(signalTakesMs);
    if (signals.empty()) return E_FAIL;
    const Signal s = signals.front();
    if (signals.size() > 1) signals.pop_front();
    *locked = s.locked;
    *quality = s.quality;
    *strength = s.strength;
    return S_OK;
  }
  HRESULT GetScrambled(bool* scrambled) override {
    if (!scrambledAnswer) return E_NOTIMPL;
    *scrambled = *scrambledAnswer;
    return S_OK;
  }
  HRESULT GetMacrovisionLevel(LONG* level) override {
    if (!copyProtection) return E_NOTIMPL;
    *level = *copyProtection;
    return S_OK;
  }
  HRESULT GetVideoFormat(KxVideoFormat* format) override {
    if (!videoFormat) return E_POINTER;
    *format = *videoFormat;
    return S_OK;
  }
  bool TakeGraphEvent(GraphEvent* event) override {
    if (events.empty()) return false;
    *event = events.front();
    events.pop_front();
    return true;
  }
  CGraphStatus& Status() override { return status; }
  CCallbackManager& Callbacks() override { return callbacks; }

  struct Signal {
    bool locked;
    LONG quality, strength;
  };
  bool busy = false;
  ManualClock* clock = nullptr;
  uint64_t signalTakesMs = 0;
  int signalPolls = 0;
  std::deque<Signal> signals;
  std::optional<bool> scrambledAnswer;
  std::optional<LONG> copyProtection;
  std::optional<KxVideoFormat> videoFormat;
  std::deque<GraphEvent> events;
  CGraphStatus status;
  CCallbackManager callbacks;
};

class ObserverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (LONG type : {KxCallbackType_Signal, KxCallbackType_Scrambled, KxCallbackType_FilterGraphEvent,
                      KxCallbackType_AudioSample})
      ASSERT_EQ(graph.callbacks.Register(type, static_cast<IKxSignalCallback*>(callback.Get()), nullptr), S_OK);
    observer.ResetSchedule();
    observer.EnablePolling(true);
  }

  // Runs passes until the signal has been polled `polls` times; the number of
  // idle passes (those after which the loop waits 10 ms) on the way.
  int PassUntilSignalPolls(int polls) {
    int idle = 0;
    for (int pass = 0; graph.signalPolls < polls && pass < 100000; ++pass)
      if (!observer.PollOnce()) ++idle;
    EXPECT_EQ(graph.signalPolls, polls);
    return idle;
  }

  ScopedManualClock clock;
  FakeObservedGraph graph;
  ComPtr<ComObject<CRecordingCallback>> callback = ComObject<CRecordingCallback>::Make();
  CKxGraphManagerObserverThread observer{graph};
};

TEST_F(ObserverTest, OnlyALockChangeIsReported) {
  graph.signals = {{true, 50, 60}, {true, 70, 80}, {false, 0, 0}, {false, 0, 0}};
  EXPECT_EQ(PassUntilSignalPolls(1), 100);  // first due after 1000 ms
  PassUntilSignalPolls(4);
  EXPECT_EQ(callback->Signals(), (std::vector<CRecordingCallback::Signal>{{"", true, 50, 60}, {"", false, 0, 0}}));
  EXPECT_EQ(graph.status.Get(KxGraphStatus_Locked), 0);
}

TEST_F(ObserverTest, QualityChangeAloneUpdatesTheStatusSilently) {
  graph.signals = {{true, 50, 60}, {true, 70, 80}};
  PassUntilSignalPolls(2);
  EXPECT_EQ(callback->Signals().size(), 1u);
  EXPECT_EQ(graph.status.Get(KxGraphStatus_SignalQuality), 70);
  EXPECT_EQ(graph.status.Get(KxGraphStatus_SignalStrength), 80);
}

TEST_F(ObserverTest, CheckThatOverrunsItsIntervalComesAgainAfterItsTimePlus100) {
  struct Case {
    uint64_t takenMs;
    int idlePassesToNext;
  };
  // The interval is 5000 ms, counted down 10 ms per idle pass.
  const Case cases[] = {{0, 500}, {4990, 500}, {5000, 510}, {6000, 610}};
  for (const Case& c : cases) {
    FakeObservedGraph timed;
    timed.clock = &*clock;
    timed.signalTakesMs = c.takenMs;
    timed.signals = {{true, 1, 1}};
    CKxGraphManagerObserverThread timedObserver{timed};
    timedObserver.ResetSchedule();
    timedObserver.EnablePolling(true);
    auto passUntil = [&](int polls) {
      int idle = 0;
      for (int pass = 0; timed.signalPolls < polls && pass < 100000; ++pass)
        if (!timedObserver.PollOnce()) ++idle;
      return idle;
    };
    passUntil(1);
    EXPECT_EQ(passUntil(2), c.idlePassesToNext) << c.takenMs;
  }
}

TEST_F(ObserverTest, BusyGraphPostponesTheCheck) {
  graph.signals = {{true, 1, 1}};
  graph.busy = true;
  for (int pass = 0; pass < 200; ++pass) observer.PollOnce();
  EXPECT_EQ(graph.signalPolls, 0);
  graph.busy = false;
  EXPECT_TRUE(observer.PollOnce());
  EXPECT_EQ(graph.signalPolls, 1);
}

TEST_F(ObserverTest, NothingIsPolledWhilePollingIsDisabled) {
  graph.signals = {{true, 1, 1}};
  observer.EnablePolling(false);
  for (int pass = 0; pass < 1000; ++pass) EXPECT_FALSE(observer.PollOnce());
  EXPECT_EQ(graph.signalPolls, 0);
}

TEST_F(ObserverTest, ScrambledStateFallsBackToTheCopyProtectionLevel) {
  struct Case {
    std::optional<bool> scrambled;
    std::optional<LONG> level;
    std::vector<bool> reported;
  };
  const Case cases[] = {{true, std::nullopt, {true}},
                        {false, std::nullopt, {false}},
                        {std::nullopt, 0, {false}},
                        {std::nullopt, 1, {false}},
                        {std::nullopt, 3, {true}},
                        {std::nullopt, std::nullopt, {}}};
  for (const Case& c : cases) {
    FakeObservedGraph scripted;
    scripted.scrambledAnswer = c.scrambled;
    scripted.copyProtection = c.level;
    auto heard = ComObject<CRecordingCallback>::Make();
    scripted.callbacks.Register(KxCallbackType_Scrambled, static_cast<IKxScrambledCallback*>(heard.Get()), nullptr);
    CKxGraphManagerObserverThread scriptedObserver{scripted};
    scriptedObserver.ResetSchedule();
    scriptedObserver.EnablePolling(true);
    // Two rounds of the scrambled check (first due after 2000 ms, then every 10 000 ms).
    for (int pass = 0; pass < 1300; ++pass) scriptedObserver.PollOnce();
    EXPECT_EQ(heard->Scrambled(), c.reported) << c.level.value_or(-1);
  }
}

TEST_F(ObserverTest, GraphEventsAreTakenOnePerInterval) {
  graph.events = {{EC_COMPLETE, 0, 0}, {EC_ERRORABORT, 7, 0}};
  // Due after 1000 ms, then every 3000 ms: after 700 idle passes both are taken.
  int idle = 0;
  while (idle < 700)
    if (!observer.PollOnce()) ++idle;
  EXPECT_TRUE(graph.events.empty());
  EXPECT_EQ(callback->Events(), std::vector<LONG>{EC_ERRORABORT});  // code 1 is only logged
}

TEST_F(ObserverTest, EachNewAudioSampleIsHandedOnOnce) {
  auto sample = ComObject<CMediaSample>::Make(8);
  uint8_t* bytes = nullptr;
  ASSERT_EQ(sample->GetPointer(&bytes), S_OK);
  bytes[0] = 0xAB;
  bytes[1] = 0xCD;
  sample->SetActualDataLength(2);
  ASSERT_EQ(graph.callbacks.OnAudioSample(sample.Get(), WAVEFORMATEX{1, 2, 44100, 176400, 4, 16, 0}), S_OK);
  for (int pass = 0; pass < 5; ++pass) observer.PollOnce();
  EXPECT_EQ(callback->AudioSamples(), (std::vector<std::vector<uint8_t>>{{0xAB, 0xCD}}));
  EXPECT_EQ(callback->AudioFormatSize(), 18);
  EXPECT_EQ(callback->AudioChannels(), 2);
  // An empty sample is not handed on.
  sample->SetActualDataLength(0);
  graph.callbacks.OnAudioSample(sample.Get(), WAVEFORMATEX{});
  for (int pass = 0; pass < 5; ++pass) observer.PollOnce();
  EXPECT_EQ(callback->AudioSamples().size(), 1u);
}

TEST_F(ObserverTest, VideoFormatChangeIsRecordedForTheDevice) {
  TestLog log;
  graph.videoFormat = KxVideoFormat{400000, 1920, 1080, 16, 9};
  ASSERT_TRUE(observer.Start(u"observer-device"));
  ASSERT_TRUE(DriveClockUntil(*clock, [] {
    return DeviceRecordTable::Get(u"observer-device", KxDeviceRecord_AspectRatioY) == 9;
  }));
  observer.Stop();
  EXPECT_EQ(DeviceRecordTable::Get(u"observer-device", KxDeviceRecord_VideoWidth), 1920);
  EXPECT_EQ(DeviceRecordTable::Get(u"observer-device", KxDeviceRecord_FrameDuration), 400000);
  EXPECT_TRUE(log.Contains("current video format: 1920 x 1080, 400000, 16 x 9"));
}
}  // namespace
