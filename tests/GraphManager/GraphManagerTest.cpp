#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "support/DeviceTestEnvironment.h"
#include "Devices/DeviceLocks.h"
#include "GraphManager/GraphManagerTestSupport.h"
#include "GraphManager/TestGraphManager.h"

namespace {
constexpr char16_t kMoniker[] = u"virtualdvb:test#t";

class GraphManagerTest : public ::testing::Test {
 protected:
  // Device locks are machine-wide: each test keeps its own.
  DeviceTestEnvironment m_environment;

  // `observe`: whether the graph manager runs its observer thread.
  ComPtr<ComObject<CTestGraphManager>> NewManager(bool observe = false) {
    auto manager = ComObject<CTestGraphManager>::Make();
    EXPECT_EQ(manager->Initialize(m_device.Get(), observe), S_OK);
    return manager;
  }

  static bool Built(IKxGraphManager* manager) {
    VARIANT_BOOL built = 7;
    EXPECT_EQ(manager->get_IsGraphBuilt(&built), S_OK);
    return built == VARIANT_TRUE;
  }

  static DeviceLocks::Usage Usage() { return DeviceLocks::Query(kMoniker); }

  ScopedManualClock m_clock;
  TestLog m_log;
  ComPtr<ComObject<CFakeCaptureDevice>> m_device = ComObject<CFakeCaptureDevice>::Make(kMoniker);
};

TEST_F(GraphManagerTest, EveryInterfaceIsAnsweredWithOneIdentity) {
  auto manager = NewManager();
  const GUID iids[] = {IidOf<IKxGraphManager>(),
                       IidOf<IKxCallbackControl>(),
                       IidOf<IKxGraphManagerSetup>(),
                       IidOf<IKxGraphManagerSetup2>(),
                       IidOf<IKxGraphManagerSetup3>(),
                       IidOf<IKxGraphManagerSetup3PCodec>(),
                       IidOf<IKxGraphManagerOutputSetup>(),
                       IidOf<IKxGraphManagerMacrovisionControl>(),
                       IidOf<IKxStreamInfo>(),
                       IidOf<IKxGraphManagerSignalControl>(),
                       IidOf<IKxGraphManagerConditionalAccess>(),
                       IidOf<IKxGraphManagerVideoWindowControl>(),
                       IidOf<IKxGraphManagerTimeoutControl>(),
                       IidOf<IKxGraphManagerStreamInfoControl>()};
  ComPtr<IUnknown> identity = QueryAs<IUnknown>(static_cast<IKxGraphManager*>(manager.Get()));
  for (const GUID& iid : iids) {
    ComPtr<IUnknown> facet;
    ASSERT_EQ(manager->QueryInterface(iid, facet.PutVoid()), S_OK) << GuidToString(iid);
    EXPECT_EQ(QueryAs<IUnknown>(facet.Get()), identity) << GuidToString(iid);
  }
  // The three setup identifiers are one interface.
  EXPECT_EQ(QueryAs<IKxGraphManagerSetup>(manager.Get()).Get(),
            static_cast<IKxGraphManagerSetup*>(QueryAs<IKxGraphManagerSetup3>(manager.Get()).Get()));
}

TEST_F(GraphManagerTest, SecondBuildIsRefusedAndLeavesTheFirstGraph) {
  auto manager = NewManager();
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  KxFilterGraph* first = manager->Graph();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(m_log.Contains(" Graph Type:     Playback\r\n"));
  EXPECT_EQ(manager->BuildGraph(KxGraphType_Playback), E_UNEXPECTED);
  EXPECT_EQ(manager->Graph(), first);
  EXPECT_TRUE(Built(manager.Get()));
  ComPtr<IUnknown> source;
  EXPECT_EQ(manager->GetFilter(KxFLTVideoSource, source.Put()), S_OK);
  EXPECT_EQ(Usage().level, 1);
  EXPECT_EQ(manager->DeleteGraph(), S_OK);
  EXPECT_FALSE(Usage().inUse);
}

TEST_F(GraphManagerTest, DeviceInUseByAnotherProcessIsRefused) {
  int toParent[2], toChild[2];
  ASSERT_EQ(::pipe(toParent), 0);
  ASSERT_EQ(::pipe(toChild), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    BStr moniker(kMoniker);
    char c = DeviceLocks::Lock("child", moniker.Get(), 1) == S_OK ? 'L' : 'F';
    (void)!::write(toParent[1], &c, 1);
    (void)!::read(toChild[0], &c, 1);
    ::_exit(0);
  }
  char reply = 0;
  ASSERT_EQ(::read(toParent[0], &reply, 1), 1);
  ASSERT_EQ(reply, 'L');

  auto manager = NewManager();
  for (LONG type : {KxGraphType_Playback, KxGraphType_Capture}) {
    EXPECT_EQ(manager->BuildGraph(type), E_ACCESSDENIED) << type;
    EXPECT_FALSE(Built(manager.Get()));
  }
  EXPECT_TRUE(m_log.Contains("The device is already in use"));

  (void)!::write(toChild[1], "x", 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) ::close(fd);
  EXPECT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
}

TEST_F(GraphManagerTest, TheOtherModeInThisProcessTakesTheLockOver) {
  auto viewer = NewManager();
  auto recorder = NewManager();
  ASSERT_EQ(viewer->BuildGraph(KxGraphType_Playback), S_OK);
  EXPECT_EQ(NewManager()->BuildGraph(KxGraphType_Playback), E_ACCESSDENIED);
  EXPECT_EQ(recorder->BuildGraph(KxGraphType_Capture), S_OK);
  EXPECT_EQ(Usage().level, 2);
}

TEST_F(GraphManagerTest, FailedBuildLeavesNoGraphAndTheDeviceFree) {
  auto manager = NewManager();
  manager->FailBuildsWith(E_NOTIMPL);
  EXPECT_EQ(manager->BuildGraph(KxGraphType_Mpeg), E_NOTIMPL);
  EXPECT_FALSE(Built(manager.Get()));
  EXPECT_EQ(manager->Graph(), nullptr);
  EXPECT_FALSE(Usage().inUse);
  ComPtr<IUnknown> source;
  EXPECT_EQ(manager->GetFilter(KxFLTVideoSource, source.Put()), E_FAIL);
}

TEST_F(GraphManagerTest, BuildWithoutDeviceFails) {
  auto manager = ComObject<CTestGraphManager>::Make();
  EXPECT_EQ(manager->BuildGraph(KxGraphType_Playback), E_POINTER);
  EXPECT_FALSE(Built(manager.Get()));
}

TEST_F(GraphManagerTest, StateChangesFollowThePlatformGraph) {
  auto manager = NewManager();
  EXPECT_EQ(manager->StartGraph(), E_POINTER);
  VARIANT_BOOL running = 7, paused = 7, stopped = 7;
  EXPECT_EQ(manager->get_IsGraphRunning(&running), S_OK);
  EXPECT_EQ(running, VARIANT_FALSE);
  EXPECT_EQ(manager->get_IsGraphRunning(nullptr), E_FAIL);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);

  struct Step {
    HRESULT (CKxGraphManager::*change)();
    VARIANT_BOOL running, paused, stopped;
  };
  const Step steps[] = {{&CKxGraphManager::StartGraph, VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE},
                        {&CKxGraphManager::StartGraph, VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE},
                        {&CKxGraphManager::PauseGraph, VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE},
                        {&CKxGraphManager::StopGraph, VARIANT_FALSE, VARIANT_FALSE, VARIANT_TRUE}};
  for (const Step& step : steps) {
    EXPECT_EQ((manager.Get()->*step.change)(), S_OK);
    EXPECT_EQ(manager->get_IsGraphRunning(&running), S_OK);
    EXPECT_EQ(manager->get_IsGraphPaused(&paused), S_OK);
    EXPECT_EQ(manager->get_IsGraphStopped(&stopped), S_OK);
    EXPECT_EQ(running, step.running);
    EXPECT_EQ(paused, step.paused);
    EXPECT_EQ(stopped, step.stopped);
  }
}

TEST_F(GraphManagerTest, TransportStreamSinkDeliversOnlyWhileRunning) {
  auto manager = NewManager();
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Capture), S_OK);
  CTestSinkFilter& sink = manager->Sink();
  struct Step {
    HRESULT (CKxGraphManager::*change)();
    int starts, stops;
  };
  const Step steps[] = {{&CKxGraphManager::StartGraph, 1, 0},
                        {&CKxGraphManager::StartGraph, 1, 0},  // already running: nothing happens
                        {&CKxGraphManager::PauseGraph, 1, 1},
                        {&CKxGraphManager::StartGraph, 2, 1},
                        {&CKxGraphManager::StopGraph, 2, 2}};
  for (const Step& step : steps) {
    EXPECT_EQ((manager.Get()->*step.change)(), S_OK);
    EXPECT_EQ(sink.starts.load(), step.starts);
    EXPECT_EQ(sink.stops.load(), step.stops);
  }
}

TEST_F(GraphManagerTest, CaptureFilePathReachesTheFileSinkOfAStoppedGraph) {
  auto manager = NewManager();
  BStr first(u"/tmp/first.ts"), second(u"/tmp/second.ts"), third(u"/tmp/third.ts");
  EXPECT_EQ(manager->put_CaptureFilePath(first.Get()), S_OK);  // no graph yet: only stored
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Capture), S_OK);
  EXPECT_EQ(manager->Sink().FileName(), u"");
  EXPECT_EQ(manager->put_CaptureFilePath(second.Get()), S_OK);
  EXPECT_EQ(manager->Sink().FileName(), u"/tmp/second.ts");
  EXPECT_TRUE(m_log.Contains("capture file name changed to /tmp/second.ts"));
  ASSERT_EQ(manager->StartGraph(), S_OK);
  EXPECT_EQ(manager->put_CaptureFilePath(third.Get()), S_OK);
  EXPECT_EQ(manager->Sink().FileName(), u"/tmp/second.ts");
  EXPECT_EQ(manager->Settings().Text(KxGraphSetting_CaptureFilePath), u"/tmp/third.ts");
  EXPECT_EQ(manager->put_CaptureFilePath(nullptr), S_OK);
  EXPECT_TRUE(manager->Settings().Has(KxGraphSetting_CaptureFilePath));
  EXPECT_EQ(manager->Settings().Text(KxGraphSetting_CaptureFilePath), u"");
}

TEST_F(GraphManagerTest, FilterGraphTimeoutIsAtLeastTenSeconds) {
  struct Case {
    VARIANT_BOOL enable;
    LONG ms;
    VARIANT_BOOL enabled;
    LONG stored;
    const char* logged;
  };
  const Case cases[] = {{VARIANT_TRUE, 5000, VARIANT_TRUE, 10000, "Filter graph timeout: 10000"},
                        {VARIANT_TRUE, 25000, VARIANT_TRUE, 25000, "Filter graph timeout: 25000"},
                        {VARIANT_FALSE, 25000, VARIANT_FALSE, 0, "Filter graph timeout deactivated"}};
  auto manager = NewManager();
  for (const Case& c : cases) {
    EXPECT_EQ(manager->put_FilterGraphTimeout(c.enable, c.ms), S_OK);
    VARIANT_BOOL enabled = 7;
    LONG ms = 7;
    EXPECT_EQ(manager->get_FilterGraphTimeout(&enabled, &ms), S_OK);
    EXPECT_EQ(enabled, c.enabled) << c.ms;
    EXPECT_EQ(ms, c.stored) << c.ms;
    EXPECT_TRUE(m_log.Contains(c.logged)) << c.logged;
  }
}

TEST_F(GraphManagerTest, FilterGraphTimeoutWritesNothingWhenAnOutPointerIsMissing) {
  auto manager = NewManager();
  manager->put_FilterGraphTimeout(VARIANT_TRUE, 12000);
  VARIANT_BOOL enabled = 7;
  LONG ms = 7;
  EXPECT_EQ(manager->get_FilterGraphTimeout(nullptr, &ms), E_POINTER);
  EXPECT_EQ(ms, 7);
  EXPECT_EQ(manager->get_FilterGraphTimeout(&enabled, nullptr), E_POINTER);
  EXPECT_EQ(enabled, 7);
}

TEST_F(GraphManagerTest, DeleteGraphResetsSettingsAndCallbacks) {
  auto manager = NewManager();
  auto callback = ComObject<CRecordingCallback>::Make();
  EXPECT_EQ(manager->RegisterCallback(KxCallbackType_Signal, static_cast<IKxSignalCallback*>(callback.Get()), nullptr),
            S_OK);
  manager->put_VideoRenderer(VARIANT_TRUE, nullptr);
  manager->put_AudioRenderer2(3);
  BStr path(u"/tmp/capture.ts");
  manager->put_CaptureFilePath(path.Get());
  manager->put_FilterGraphTimeout(VARIANT_TRUE, 10000);

  // Without a graph nothing changes.
  EXPECT_EQ(manager->DeleteGraph(), S_OK);
  EXPECT_TRUE(manager->Settings().Has(KxGraphSetting_VideoRenderer));
  manager->FireSignalUpdate(kMoniker, true, 1, 2);
  EXPECT_EQ(callback->Signals().size(), 1u);

  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  EXPECT_EQ(manager->DeleteGraph(), S_OK);
  for (LONG id : {KxGraphSetting_GraphType, KxGraphSetting_VideoRenderer, KxGraphSetting_AudioRenderer,
                  KxGraphSetting_CaptureFilePath, KxGraphSetting_FilterGraphTimeout})
    EXPECT_FALSE(manager->Settings().Has(id)) << id;
  manager->FireSignalUpdate(kMoniker, true, 1, 2);
  EXPECT_EQ(callback->Signals().size(), 1u);
  EXPECT_FALSE(Usage().inUse);
}

TEST_F(GraphManagerTest, ReleasingAManagerWithAGraphDeletesIt) {
  auto manager = NewManager(true);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  std::promise<void> gone;
  manager->NotifyWhenGone(&gone);
  manager.Reset();
  EXPECT_EQ(gone.get_future().wait_for(std::chrono::seconds(0)), std::future_status::ready);
  EXPECT_FALSE(Usage().inUse);
  EXPECT_TRUE(m_log.Contains("DeleteGraph ["));
}

TEST_F(GraphManagerTest, BuildThatOverrunsTwentySecondsFailsAndItsLateResultIsDropped) {
  auto manager = NewManager();
  std::promise<void> release;
  manager->HoldBuildUntil(release.get_future().share());
  auto building = std::async(std::launch::async, [&] { return manager->BuildGraph(KxGraphType_Playback); });
  ASSERT_TRUE(DriveClockUntil(*m_clock, [&] {
    return building.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  }, 100));
  EXPECT_EQ(building.get(), E_FAIL);
  EXPECT_TRUE(m_log.Contains("ERROR: timeout reached -> filter graph could not be build"));
  EXPECT_FALSE(Built(manager.Get()));
  EXPECT_FALSE(Usage().inUse);

  // The late build keeps the graph manager alive until it ends.
  std::promise<void> gone;
  auto goneFuture = gone.get_future();
  manager->NotifyWhenGone(&gone);
  manager.Reset();
  EXPECT_EQ(goneFuture.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  release.set_value();
  EXPECT_EQ(goneFuture.wait_for(std::chrono::seconds(60)), std::future_status::ready);
  EXPECT_FALSE(Usage().inUse);
}

TEST_F(GraphManagerTest, CodecConfigurationIsOneToAThousandBytes) {
  auto manager = NewManager();
  const std::vector<uint8_t> bytes(1001, 0x5A);
  struct Case {
    LONG size;
    const uint8_t* data;
    HRESULT expected;
  };
  const Case cases[] = {{4, nullptr, E_POINTER},     {0, bytes.data(), E_INVALIDARG}, {1, bytes.data(), S_OK},
                        {1000, bytes.data(), S_OK}, {1001, bytes.data(), E_INVALIDARG}, {-1, bytes.data(), E_INVALIDARG}};
  for (const Case& c : cases) {
    EXPECT_EQ(manager->put_VideoCodecConfig(c.size, c.data), c.expected) << c.size;
    EXPECT_EQ(manager->put_AudioCodecConfig(c.size, c.data), c.expected) << c.size;
  }
  // No name drops the codec; a name that makes no filter is refused.
  EXPECT_EQ(manager->put_VideoCodec(nullptr), S_OK);
  BStr unknown(u"no such codec");
  EXPECT_TRUE(FAILED(manager->put_AudioCodec(unknown.Get())));
}

TEST_F(GraphManagerTest, RendererSettingsComeAndGo) {
  auto manager = NewManager();
  int window = 0;
  manager->put_VideoRenderer2(3, &window);
  manager->put_AudioRenderer(VARIANT_TRUE);
  EXPECT_EQ(manager->Settings().Number(KxGraphSetting_VideoRenderer), 3);
  EXPECT_EQ(manager->Settings().Number(KxGraphSetting_AudioRenderer), 1);
  manager->put_VideoRenderer3(VARIANT_FALSE, &window);
  manager->put_AudioRenderer2(0);
  EXPECT_FALSE(manager->Settings().Has(KxGraphSetting_VideoRenderer));
  EXPECT_FALSE(manager->Settings().Has(KxGraphSetting_AudioRenderer));
  // Without a video renderer in the graph there is no window to own.
  EXPECT_EQ(manager->put_VideoWindowOwner(&window), E_POINTER);
}

TEST_F(GraphManagerTest, SignalStatusBeforeTheFirstPollIsGood) {
  auto manager = NewManager();
  VARIANT_BOOL locked = 0;
  LONG quality = 0, strength = 0;
  EXPECT_EQ(manager->get_SignalStatus(&locked, &quality, &strength), S_OK);
  EXPECT_EQ(locked, VARIANT_TRUE);
  EXPECT_EQ(quality, 100);
  EXPECT_EQ(strength, 100);
  EXPECT_EQ(manager->get_SignalStatus(nullptr, &quality, &strength), E_POINTER);
}

TEST_F(GraphManagerTest, RegistrationFollowsTheDigitalRule) {
  auto manager = NewManager();
  auto callback = ComObject<CRecordingCallback>::Make();
  IUnknown* object = static_cast<IKxSignalCallback*>(callback.Get());
  struct Case {
    LONG type;
    HRESULT expected;
  };
  const Case cases[] = {{KxCallbackType_Camcorder, E_UNEXPECTED}, {KxCallbackType_Signal, S_OK},
                        {KxCallbackType_Scrambled, S_OK},         {KxCallbackType_EpgEvents, S_OK},
                        {KxCallbackType_AudioSample, E_UNEXPECTED}, {KxCallbackType_FilterGraphEvent, S_OK}};
  LONG previous = 0;
  for (const Case& c : cases) {
    LONG cookie = 0;
    EXPECT_EQ(manager->RegisterCallback(c.type, object, &cookie), c.expected) << c.type;
    if (c.expected == S_OK) {
      EXPECT_GT(cookie, previous) << c.type;
      previous = cookie;
    }
  }
  EXPECT_EQ(manager->RegisterCallback(KxCallbackType_Signal, nullptr, nullptr), E_POINTER);
  EXPECT_EQ(manager->UnregisterCallback(previous + 1000), S_OK);
}

// A callback that calls back into its graph manager runs with no lock held:
// none of these deadlock, and deleting the graph from the observer's own
// thread does not wait for that thread.
TEST_F(GraphManagerTest, CallbackMayCallBackIntoTheGraphManager) {
  enum class Action { Unregister, StopGraph, DeleteGraph };
  for (Action action : {Action::Unregister, Action::StopGraph, Action::DeleteGraph}) {
    auto manager = NewManager(true);
    manager->SetSignal({true, 80, 90});
    auto callback = ComObject<CRecordingCallback>::Make();
    LONG cookie = 0;
    ASSERT_EQ(manager->RegisterCallback(KxCallbackType_Signal, static_cast<IKxSignalCallback*>(callback.Get()), &cookie),
              S_OK);
    std::promise<void> acted;
    CTestGraphManager* raw = manager.Get();
    callback->OnFirstSignal([&, raw] {
      if (action == Action::Unregister) raw->UnregisterCallback(cookie);
      if (action == Action::StopGraph) raw->StopGraph();
      if (action == Action::DeleteGraph) raw->DeleteGraph();
      acted.set_value();
    });
    ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
    ASSERT_EQ(manager->StartGraph(), S_OK);
    auto actedFuture = acted.get_future();
    ASSERT_TRUE(DriveClockUntil(*m_clock, [&] {
      return actedFuture.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    })) << static_cast<int>(action);
    EXPECT_EQ(callback->Signals(), (std::vector<CRecordingCallback::Signal>{{"virtualdvb:test#t", true, 80, 90}}));
    EXPECT_EQ(Built(manager.Get()), action != Action::DeleteGraph);
    EXPECT_EQ(manager->DeleteGraph(), S_OK);
    EXPECT_FALSE(Usage().inUse);
  }
}
}  // namespace

namespace {
TEST_F(GraphManagerTest, EventsOfTheRunningGraphReachTheHost) {
  auto manager = NewManager(true);
  auto callback = ComObject<CRecordingCallback>::Make();
  ASSERT_EQ(manager->RegisterCallback(KxCallbackType_FilterGraphEvent,
                                      static_cast<IKxFilterGraphEventCallback*>(callback.Get()), nullptr),
            S_OK);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Capture), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  manager->Sink().NotifyEvent(EC_COMPLETE, 0, 0);
  manager->Sink().NotifyEvent(EC_ERRORABORT, 0, 0);
  ASSERT_TRUE(DriveClockUntil(*m_clock, [&] { return !callback->Events().empty(); }));
  EXPECT_EQ(callback->Events(), std::vector<LONG>{EC_ERRORABORT});
  EXPECT_TRUE(m_log.Contains("OnFilterGraphEvent: code=1, p1=0, p2=0, virtualdvb:test#t"));
}

// The host deletes the graph while a callback on the observer thread is about
// to stop it: the observer is joined outside the graph lock, so the callback
// gets the lock and both end.
TEST_F(GraphManagerTest, HostDeletesTheGraphWhileACallbackStopsIt) {
  auto manager = NewManager(true);
  manager->SetSignal({true, 1, 1});
  auto callback = ComObject<CRecordingCallback>::Make();
  ASSERT_EQ(manager->RegisterCallback(KxCallbackType_Signal, static_cast<IKxSignalCallback*>(callback.Get()), nullptr),
            S_OK);
  std::promise<void> inCallback, hostDeleting;
  std::shared_future<void> deleting = hostDeleting.get_future().share();
  CTestGraphManager* raw = manager.Get();
  callback->OnFirstSignal([&, raw, deleting] {
    inCallback.set_value();
    deleting.wait();
    raw->StopGraph();
  });
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ASSERT_EQ(manager->StartGraph(), S_OK);
  auto called = inCallback.get_future();
  ASSERT_TRUE(DriveClockUntil(*m_clock, [&] {
    return called.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  }));
  hostDeleting.set_value();
  EXPECT_EQ(manager->DeleteGraph(), S_OK);
  EXPECT_FALSE(Built(manager.Get()));
  EXPECT_FALSE(Usage().inUse);
}
}  // namespace
