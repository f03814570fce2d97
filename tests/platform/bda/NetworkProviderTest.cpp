#include <gtest/gtest.h>

#include "platform/bda/ControlInterfaces.h"
#include "platform/bda/TunerFilter.h"
#include "support/TempDir.h"
#include "support/TuneRequests.h"

namespace {
// A tuner filter that records what it is tuned to and streams nothing.
class CRecordingTuner : public CBdaTunerFilter {
 public:
  explicit CRecordingTuner(std::vector<DeliverySystem> systems) : CBdaTunerFilter(u"Recording", systems, 188) {}
  virtual ~CRecordingTuner() { StopStreaming(); }
  SignalStatus Signal() override { return signal; }

  std::vector<TunerSettings> tunes;
  SignalStatus signal;

 protected:
  HRESULT Tune(const TunerSettings& settings) override {
    tunes.push_back(settings);
    return S_OK;
  }
  HRESULT FillBuffer(IMediaSample*) override {
    WaitUntil(UINT64_MAX);
    return S_OK;
  }
};

const std::vector<DeliverySystem> kAll = {DeliverySystem::DvbS, DeliverySystem::DvbT, DeliverySystem::DvbC,
                                          DeliverySystem::Atsc};

struct ProviderAndTuner : ::testing::Test {
  TempDir dir;
  tune::TunerGraph g;
  ComPtr<ComObject<CRecordingTuner>> tuner = ComObject<CRecordingTuner>::Make(kAll);
  void SetUp() override { g.Build(static_cast<IBaseFilter*>(tuner.Get()), dir / "out.ts"); }
};
}  // namespace

TEST_F(ProviderAndTuner, EachNetworkSetsItsDemodulatorAndParameters) {
  struct Case {
    const char* name;
    ComPtr<ITuneRequest> request;
    GUID demodulator;
    ULONG frequency, bandwidth, symbolRate;
    ModulationType modulation;
    Polarisation polarisation;
    LnbOscillators lnb;
  };
  const Case cases[] = {
      {"DVB-T", tune::Dvbt(522000, 8), KSNODE_BDA_COFDM_DEMODULATOR, 522000, 8, 0, BDA_MOD_NOT_SET,
       BDA_POLARISATION_NOT_SET, {}},
      {"DVB-C", tune::Dvbc(346000, 6900, BDA_MOD_256QAM), KSNODE_BDA_QAM_DEMODULATOR, 346000, 0, 6900,
       BDA_MOD_256QAM, BDA_POLARISATION_NOT_SET, {}},
      {"DVB-S", tune::Dvbs(12603000, 22000, BDA_POLARISATION_LINEAR_H, {9750000, 10600000, 11700000}),
       KSNODE_BDA_QPSK_DEMODULATOR, 12603000, 0, 22000, BDA_MOD_NOT_SET, BDA_POLARISATION_LINEAR_H,
       {9750000, 10600000, 11700000}},
      {"ATSC antenna", tune::AtscAntenna(14), KSNODE_BDA_8VSB_DEMODULATOR, 473000, 0, 0, BDA_MOD_8VSB,
       BDA_POLARISATION_NOT_SET, {}},
      {"ATSC cable", tune::AtscCable(55250, BDA_MOD_256QAM), KSNODE_BDA_8VSB_DEMODULATOR, 57000, 0, 0,
       BDA_MOD_256QAM, BDA_POLARISATION_NOT_SET, {}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(g.Tune(c.request.Get()), S_OK) << c.name;
    ASSERT_FALSE(tuner->tunes.empty());
    const TunerSettings& s = tuner->tunes.back();
    EXPECT_EQ(s.demodulator, c.demodulator) << c.name;
    EXPECT_EQ(s.frequencyKHz, c.frequency) << c.name;
    EXPECT_EQ(s.bandwidthMHz, c.bandwidth) << c.name;
    EXPECT_EQ(s.symbolRate, c.symbolRate) << c.name;
    EXPECT_EQ(s.modulation, c.modulation) << c.name;
    EXPECT_EQ(s.polarisation, c.polarisation) << c.name;
    EXPECT_EQ(s.lnb.lowKHz, c.lnb.lowKHz) << c.name;
    EXPECT_EQ(s.lnb.highKHz, c.lnb.highKHz) << c.name;
    EXPECT_EQ(s.inversion, BDA_SPECTRAL_INVERSION_AUTOMATIC) << c.name;
    ComPtr<ITuneRequest> current;
    ASSERT_EQ(QueryAs<ITuner>(g.provider.Get())->get_TuneRequest(current.Put()), S_OK);
    EXPECT_EQ(current.Get(), c.request.Get()) << c.name;
  }
  EXPECT_EQ(tuner->tunes.size(), std::size(cases));
}

TEST_F(ProviderAndTuner, DiseqcInputChosenAheadIsKeptForTheTune) {
  // The order a device plug-in uses: the input first, then the tune request.
  auto topology = QueryAs<IBDA_Topology>(g.tuner.Get());
  auto control = QueryAs<IBDA_DeviceControl>(g.tuner.Get());
  ComPtr<IUnknown> node;
  ASSERT_EQ(topology->GetControlNode(0, 1, 0, node.Put()), S_OK);
  auto frequency = QueryAs<IBDA_FrequencyFilter>(node.Get());
  ASSERT_TRUE(frequency && control);
  ASSERT_EQ(control->StartChanges(), S_OK);
  ASSERT_EQ(frequency->put_Range(256), S_OK);
  ULONG state = 0;
  EXPECT_EQ(control->GetChangeState(&state), S_OK);
  EXPECT_EQ(state, BDA_CHANGES_PENDING);
  EXPECT_EQ(control->CheckChanges(), S_OK);
  EXPECT_TRUE(tuner->tunes.empty());

  ASSERT_EQ(g.Tune(tune::Dvbs(11493750, 27500, BDA_POLARISATION_LINEAR_V).Get()), S_OK);
  ASSERT_EQ(tuner->tunes.size(), 1u);
  EXPECT_EQ(tuner->tunes[0].range, std::optional<ULONG>(256));
  EXPECT_EQ(control->GetChangeState(&state), S_OK);
  EXPECT_EQ(state, BDA_CHANGES_COMPLETE);
  ULONG range = 0;
  EXPECT_EQ(frequency->get_Range(&range), S_OK);
  EXPECT_EQ(range, 256u);
}

TEST_F(ProviderAndTuner, SignalOfTheTunerThroughItsNodesAndTheProvider) {
  tuner->signal = {63, 87, true, true};
  auto topology = QueryAs<IBDA_Topology>(g.tuner.Get());
  ULONG types[32];
  ULONG count = 0;
  ASSERT_EQ(topology->GetNodeTypes(&count, 32, types), S_OK);
  ASSERT_EQ(count, 5u);  // RF tuner and four demodulators
  for (ULONG i = 0; i < count; ++i) {
    ComPtr<IUnknown> node;
    ASSERT_EQ(topology->GetControlNode(0, 1, types[i], node.Put()), S_OK);
    auto statistics = QueryAs<IBDA_SignalStatistics>(node.Get());
    ASSERT_TRUE(statistics) << i;
    LONG quality = 0;
    BOOLEAN locked = 0, present = 0;
    EXPECT_EQ(statistics->get_SignalQuality(&quality), S_OK);
    EXPECT_EQ(statistics->get_SignalLocked(&locked), S_OK);
    EXPECT_EQ(statistics->get_SignalPresent(&present), S_OK);
    EXPECT_EQ(quality, 87);
    EXPECT_EQ(locked, 1);
    EXPECT_EQ(present, 1);
  }
  ComPtr<IUnknown> none;
  EXPECT_EQ(topology->GetControlNode(0, 1, count, none.Put()), E_INVALIDARG);
  LONG strength = 0;
  EXPECT_EQ(QueryAs<IScanningTuner>(g.provider.Get())->get_SignalStrength(&strength), S_OK);
  EXPECT_EQ(strength, 63);
}

TEST(NetworkProvider, LegacyProvidersTakeTheirNetworkOnlyAndTheGenericOneEvery) {
  const ComPtr<ITuneRequest> requests[] = {tune::Dvbt(522000, 8), tune::Dvbc(346000, 6900, BDA_MOD_64QAM),
                                           tune::Dvbs(11493750, 22000, BDA_POLARISATION_LINEAR_H),
                                           tune::AtscAntenna(20), tune::AtscCable(55250, BDA_MOD_64QAM)};
  struct Case {
    const CLSID& provider;
    bool accepts[5];
  };
  const Case cases[] = {
      {CLSID_DVBTNetworkProvider, {true, false, false, false, false}},
      {CLSID_DVBCNetworkProvider, {false, true, false, false, false}},
      {CLSID_DVBSNetworkProvider, {false, false, true, false, false}},
      {CLSID_ATSCNetworkProvider, {false, false, false, true, true}},
      {CLSID_NetworkProvider, {true, true, true, true, true}},
  };
  for (const Case& c : cases) {
    ComPtr<IBaseFilter> provider;
    ASSERT_EQ(CNetworkProvider::Create(c.provider, provider.Put()), S_OK);
    auto tuner = QueryAs<ITuner>(provider.Get());
    for (size_t i = 0; i < std::size(requests); ++i) {
      // Not connected: a valid request is kept, an invalid one refused.
      EXPECT_EQ(tuner->Validate(requests[i].Get()), c.accepts[i] ? S_OK : E_INVALIDARG) << i;
      EXPECT_EQ(tuner->put_TuneRequest(requests[i].Get()), c.accepts[i] ? S_OK : E_INVALIDARG) << i;
    }
  }
  ComPtr<IBaseFilter> provider;
  EXPECT_EQ(CNetworkProvider::Create(CLSID_DVBTuningSpace, provider.Put()), E_INVALIDARG);
}

TEST(NetworkProvider, EmptyRequestIsKeptAndTheSignalNeedsATuner) {
  ComPtr<IBaseFilter> provider;
  ASSERT_EQ(CNetworkProvider::Create(CLSID_DVBTNetworkProvider, provider.Put()), S_OK);
  auto tuner = QueryAs<ITuner>(provider.Get());
  ComPtr<ITuneRequest> request;
  EXPECT_EQ(tuner->get_TuneRequest(request.Put()), E_FAIL);
  auto space = ComObject<CDVBTuningSpace>::Make();
  ASSERT_EQ(space->CreateTuneRequest(request.Put()), S_OK);
  EXPECT_EQ(tuner->put_TuneRequest(request.Get()), S_OK);
  ComPtr<ITuningSpace> kept;
  EXPECT_EQ(tuner->get_TuningSpace(kept.Put()), S_OK);
  EXPECT_EQ(kept.Get(), static_cast<ITuningSpace*>(space.Get()));
  LONG strength = -1;
  EXPECT_EQ(tuner->get_SignalStrength(&strength), VFW_E_NOT_CONNECTED);
  EXPECT_EQ(tuner->put_TuneRequest(nullptr), E_POINTER);
}

TEST(NetworkProvider, TunerWithoutTheDemodulatorOfTheNetworkRefusesIt) {
  TempDir dir;
  tune::TunerGraph g;
  auto tuner = ComObject<CRecordingTuner>::Make(std::vector{DeliverySystem::DvbT});
  g.Build(static_cast<IBaseFilter*>(tuner.Get()), dir / "out.ts");
  EXPECT_EQ(g.Tune(tune::Dvbc(346000, 6900, BDA_MOD_64QAM).Get()), E_INVALIDARG);
  EXPECT_TRUE(tuner->tunes.empty());
}
