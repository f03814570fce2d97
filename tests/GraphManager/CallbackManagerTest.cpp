#include "GraphManager/CallbackManager.h"

#include "GraphManager/GraphManagerTestSupport.h"

namespace {
// Offers only the scrambled callback.
class CScrambledOnly : public IKxScrambledCallback {
 public:
  using InterfaceMap = ::InterfaceMap<IKxScrambledCallback>;
  virtual ~CScrambledOnly() = default;
  HRESULT OnScrambledUpdate(BSTR, VARIANT_BOOL) override {
    ++calls;
    return S_OK;
  }
  int calls = 0;
};

IUnknown* AsUnknown(CRecordingCallback* callback) { return static_cast<IKxSignalCallback*>(callback); }

TEST(CallbackManagerTest, DispatchReachesEveryRegistrationThatOffersTheInterface) {
  TestLog log;
  CCallbackManager manager;
  auto first = ComObject<CRecordingCallback>::Make();
  auto second = ComObject<CRecordingCallback>::Make();
  auto other = ComObject<CScrambledOnly>::Make();
  ASSERT_EQ(manager.Register(KxCallbackType_Signal, AsUnknown(first.Get()), nullptr), S_OK);
  ASSERT_EQ(manager.Register(KxCallbackType_Signal, other.Get(), nullptr), S_OK);
  ASSERT_EQ(manager.Register(KxCallbackType_Signal, AsUnknown(second.Get()), nullptr), S_OK);
  ASSERT_EQ(manager.Register(KxCallbackType_Scrambled, AsUnknown(second.Get()), nullptr), S_OK);

  manager.FireSignalUpdate(u"dev", true, 50, 60);
  manager.FireScrambledUpdate(u"dev", true);
  const std::vector<CRecordingCallback::Signal> expected{{"dev", true, 50, 60}};
  EXPECT_EQ(first->Signals(), expected);
  EXPECT_EQ(second->Signals(), expected);
  EXPECT_EQ(other->calls, 0);
  EXPECT_TRUE(first->Scrambled().empty());
  EXPECT_EQ(second->Scrambled(), std::vector<bool>{true});
  EXPECT_TRUE(log.Contains("OnSignalUpdate: true, Q=50, S=60, dev"));
  EXPECT_TRUE(log.Contains("OnScrambledUpdate: true, dev"));
}

TEST(CallbackManagerTest, UnregisterRemovesTheFirstMatchInAscendingType) {
  CCallbackManager manager;
  auto callback = ComObject<CRecordingCallback>::Make();
  LONG scrambledCookie = 0, signalCookie = 0;
  ASSERT_EQ(manager.Register(KxCallbackType_Scrambled, AsUnknown(callback.Get()), &scrambledCookie), S_OK);
  ASSERT_EQ(manager.Register(KxCallbackType_Signal, AsUnknown(callback.Get()), &signalCookie), S_OK);
  EXPECT_EQ(signalCookie, scrambledCookie + 1);

  manager.UnregisterObject(AsUnknown(callback.Get()));  // the signal entry: type 4 comes before 5
  manager.FireSignalUpdate(u"dev", true, 1, 1);
  manager.FireScrambledUpdate(u"dev", false);
  EXPECT_TRUE(callback->Signals().empty());
  EXPECT_EQ(callback->Scrambled(), std::vector<bool>{false});

  manager.Unregister(scrambledCookie + 100);  // never issued: nothing happens
  manager.FireScrambledUpdate(u"dev", true);
  EXPECT_EQ(callback->Scrambled().size(), 2u);
  manager.Unregister(scrambledCookie);
  manager.FireScrambledUpdate(u"dev", true);
  EXPECT_EQ(callback->Scrambled().size(), 2u);
}

TEST(CallbackManagerTest, CallbackThatUnregistersItselfDuringDispatch) {
  CCallbackManager manager;
  auto leaving = ComObject<CRecordingCallback>::Make();
  auto staying = ComObject<CRecordingCallback>::Make();
  LONG cookie = 0;
  ASSERT_EQ(manager.Register(KxCallbackType_Signal, AsUnknown(leaving.Get()), &cookie), S_OK);
  ASSERT_EQ(manager.Register(KxCallbackType_Signal, AsUnknown(staying.Get()), nullptr), S_OK);
  leaving->OnFirstSignal([&] { manager.Unregister(cookie); });

  manager.FireSignalUpdate(u"dev", true, 1, 1);
  EXPECT_EQ(staying->Signals().size(), 1u);
  manager.FireSignalUpdate(u"dev", false, 0, 0);
  EXPECT_EQ(staying->Signals().size(), 2u);
  EXPECT_EQ(leaving->Signals().size(), 1u);
}

TEST(CallbackManagerTest, FilterGraphEventsAreLoggedAndOnlySomeForwarded) {
  TestLog log;
  CCallbackManager manager;
  auto callback = ComObject<CRecordingCallback>::Make();
  ASSERT_EQ(manager.Register(KxCallbackType_FilterGraphEvent,
                             static_cast<IKxFilterGraphEventCallback*>(callback.Get()), nullptr),
            S_OK);
  for (LONG code : {1, 2, 3, 4, 6, 7, 8, 9, 69, 70}) manager.FireFilterGraphEvent(u"dev", code, 5, 6);
  EXPECT_EQ(callback->Events(), (std::vector<LONG>{2, 3, 6, 7, 8, 69}));
  EXPECT_TRUE(log.Contains("OnFilterGraphEvent: code=1, p1=5, p2=6, dev"));
  EXPECT_TRUE(log.Contains("OnFilterGraphEvent: code=70, p1=5, p2=6, dev"));
}

TEST(CallbackManagerTest, AudioSampleIsTakenOnce) {
  CCallbackManager manager;
  auto sample = ComObject<CMediaSample>::Make(16);
  uint8_t* bytes = nullptr;
  ASSERT_EQ(sample->GetPointer(&bytes), S_OK);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(i + 1);
  sample->SetActualDataLength(4);
  const WAVEFORMATEX format{1, 2, 48000, 192000, 4, 16, 0};

  std::vector<uint8_t> data;
  WAVEFORMATEX taken{};
  EXPECT_FALSE(manager.TakeAudioSample(&data, &taken));
  ASSERT_EQ(manager.OnAudioSample(sample.Get(), format), S_OK);
  ASSERT_TRUE(manager.TakeAudioSample(&data, &taken));
  EXPECT_EQ(data, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(taken.nSamplesPerSec, 48000u);
  EXPECT_FALSE(manager.TakeAudioSample(&data, &taken));
  EXPECT_EQ(manager.OnAudioSample(nullptr, format), E_POINTER);
}
}  // namespace
