// Start, stop and the properties of a tuner, and the faults a search meets.
#include "Tuner/KxTunerDvbt.h"
#include "Tuner/TunerTestSupport.h"

namespace {
constexpr const char* kEmptyDvbt = R"(<tuner id="t" system="DVB-T"/>)";

std::string DvbtList(const std::string& network, const std::vector<LONG>& frequencies) {
  std::string xml = "<NetworkType name=\"DVB-T\"><Network name=\"" + network + "\">";
  for (LONG f : frequencies) xml += "<param frequency=\"" + std::to_string(f) + "\" bandwidth=\"8\"/>";
  return xml + "</Network></NetworkType>";
}

class CFlagsProbe : public CKxTunerDvbt {
 public:
  using CKxTunerDvbt::GetChannelSearchFlags;
};

Variant Int16(int16_t value) {
  Variant v;
  v.vt = VT_I2;
  v.iVal = value;
  return v;
}
}  // namespace

class TunerLifecycleTest : public TunerTest {
 protected:
  ComPtr<IKxTuner> DemoTuner() {
    return NewTuner("<tuner id=\"t\" system=\"DVB-T\"><multiplex frequency=\"474000\" file=\"" + DemoFile(1) +
                    "\"/><multiplex frequency=\"522000\" file=\"" + DemoFile(2) + "\"/></tuner>");
  }
  void UseList(IKxTuner* tuner, const std::string& network, const std::vector<LONG>& frequencies) {
    EXPECT_EQ(QueryAs<IKxTunerSetupDvbt>(tuner)->put_CountryCode(49), S_OK);
    const auto data = TuningData(KxTuningDataType_Dvbt, DvbtList(network, frequencies));
    EXPECT_EQ(QueryAs<IKxTunerSetupTuningData>(tuner)->SetTuningData(data.Get()), S_OK);
  }
  bool InUse() const { return DeviceLocks::Query(m_moniker).inUse; }
};

TEST_F(TunerLifecycleTest, PropertiesStartAsTheHostExpects) {
  const auto tuner = NewTuner(kEmptyDvbt);
  ASSERT_TRUE(tuner);
  Variant value;
  EXPECT_EQ(tuner->get_Property(5, &value), E_FAIL);
  EXPECT_EQ(tuner->get_Property(0, nullptr), E_POINTER);
  ASSERT_EQ(tuner->get_Property(0, &value), S_OK);
  EXPECT_EQ(value.vt, VT_I2);
  EXPECT_EQ(value.iVal, -1);
  ASSERT_EQ(tuner->get_Property(1, &value), S_OK);
  EXPECT_EQ(value.vt, VT_I2);
  EXPECT_EQ(value.iVal, 0);
  EXPECT_EQ(tuner->StartAutoTuning(nullptr), E_POINTER);
  EXPECT_EQ(QueryAs<IKxTunerSetupTuningData>(tuner.Get())->SetTuningData(nullptr), E_POINTER);
}

TEST_F(TunerLifecycleTest, SearchFlagsFollowTheTrueProperties) {
  struct Case {
    Variant networkSearch, waitForNit;
    LONG flags;
  };
  const Case cases[] = {
      {Int16(-1), Int16(0), 1},           {Int16(-1), Variant(int32_t{1}), 3}, {Int16(-1), Variant(int32_t{2}), 1},
      {Variant(int32_t{0}), Int16(-1), 2}, {Variant(int32_t{1}), Variant(true), 1}, {Int16(1), Int16(0), 0},
  };
  for (const Case& c : cases) {
    auto probe = ComObject<CFlagsProbe>::Make();
    EXPECT_EQ(probe->put_Property(KxTunerProperty_NetworkSearch, c.networkSearch), S_OK);
    EXPECT_EQ(probe->put_Property(KxTunerProperty_WaitForNit, c.waitForNit), S_OK);
    EXPECT_EQ(probe->GetChannelSearchFlags(), c.flags);
  }
}

TEST_F(TunerLifecycleTest, NoInputMeansOnlyTheFinishedNotification) {
  const auto tuner = NewTuner(R"(<tuner id="t" system="ATSC"/>)");
  ASSERT_TRUE(tuner);
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));
  EXPECT_EQ(recorder->Calls(), (std::vector<std::string>{"finished"}));
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

TEST_F(TunerLifecycleTest, ASecondStartNeedsAStopFirst) {
  const auto tuner = NewTuner(R"(<tuner id="t" system="ATSC"/>)");
  ASSERT_TRUE(tuner);
  auto first = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), first.Get()));
  auto second = ComObject<CTunerRecorder>::Make();
  EXPECT_EQ(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(second.Get())), E_UNEXPECTED);
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
  ASSERT_TRUE(ScanToEnd(tuner.Get(), second.Get()));
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

TEST_F(TunerLifecycleTest, AFailedStartLeavesTheDeviceFreeAndCanBeRetried) {
  const auto tuner = NewTuner(kEmptyDvbt);
  ASSERT_TRUE(tuner);
  UseList(tuner.Get(), "NTSC", {474000});  // country 49 needs PAL-X
  auto recorder = ComObject<CTunerRecorder>::Make();
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_EQ(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(recorder.Get())), E_INVALIDARG);
    EXPECT_FALSE(InUse());
  }
  EXPECT_TRUE(recorder->Calls().empty());
}

TEST_F(TunerLifecycleTest, AnUntunableFrequencyIsSkipped) {
  const auto tuner = DemoTuner();
  ASSERT_TRUE(tuner);
  UseList(tuner.Get(), "PAL-X", {-1000, 474000});
  SetProperty(tuner.Get(), KxTunerProperty_NetworkSearch, 0);
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));
  EXPECT_EQ(recorder->Progress(), (std::vector<LONG>{50, 100}));
  EXPECT_EQ(recorder->Channels().size(), 4u);
  EXPECT_TRUE(m_log.Contains("Tuning to -1000 kHz failed"));
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
}

TEST_F(TunerLifecycleTest, StopInTheMiddleOfASearchEndsItWithoutWaitingForTheStep) {
  const auto tuner = DemoTuner();
  ASSERT_TRUE(tuner);
  UseList(tuner.Get(), "PAL-X", {474000, 522000});
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_EQ(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(recorder.Get())), S_OK);
  ASSERT_TRUE(InUse());
  // The first multiplex is being searched: its tables need more stream time
  // than the clock will give.
  ASSERT_TRUE(DriveUntil([&] { return !recorder->Signals().empty(); }));
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
  EXPECT_FALSE(InUse());
  const auto calls = recorder->Calls();
  EXPECT_EQ(calls.back(), "finished");
  EXPECT_TRUE(recorder->Channels().empty());
  // Nothing reaches the host after the stop.
  m_clock->Advance(30000);
  EXPECT_TRUE(m_clock->WaitUntilIdle());
  EXPECT_EQ(recorder->Calls(), calls);
}

TEST_F(TunerLifecycleTest, StopFromTheHostsCallbackEndsTheSearch) {
  const auto tuner = DemoTuner();
  ASSERT_TRUE(tuner);
  UseList(tuner.Get(), "PAL-X", {498000, 506000, 514000});
  auto recorder = ComObject<CTunerRecorder>::Make();
  recorder->OnEachProgress([&] { EXPECT_EQ(tuner->StopAutoTuning(), S_OK); });
  ASSERT_TRUE(ScanToEnd(tuner.Get(), recorder.Get()));
  EXPECT_EQ(recorder->Progress(), (std::vector<LONG>{33}));
  EXPECT_EQ(tuner->StopAutoTuning(), S_OK);
  EXPECT_FALSE(InUse());
}

TEST_F(TunerLifecycleTest, ReleasingARunningTunerStopsItsWorker) {
  auto tuner = DemoTuner();
  ASSERT_TRUE(tuner);
  UseList(tuner.Get(), "PAL-X", {474000});
  auto recorder = ComObject<CTunerRecorder>::Make();
  ASSERT_EQ(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(recorder.Get())), S_OK);
  ASSERT_TRUE(DriveUntil([&] { return !recorder->Signals().empty(); }));
  tuner.Reset();
  EXPECT_TRUE(recorder->Finished());
}
