// The default plug-in tuning virtual tuners in a graph: network provider ->
// tuner -> test renderer.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FakeGraphManager.h"
#include "devplugins/BuiltInDevicePlugins.h"
#include "devplugins/DevicePluginManager.h"
#include "devplugins/KxDPTuneRequestCommand.h"
#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/KxFilterRole.h"
#include "platform/bda/ControlInterfaces.h"
#include "platform/graph/FilterGraph.h"
#include "platform/virtualdvb/VirtualTunerFilter.h"
#include "platform/graph/TestFilters.h"
#include "support/FileBytes.h"
#include "support/ClockDriving.h"
#include "support/TempDir.h"
#include "support/TuneRequests.h"

namespace {
std::string DemoFile(int mux) { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

// The first `size` bytes of `file` played in a loop from its start: a slow
// machine may let the clock run past the loop point before the graph stops.
std::string Looped(const std::string& file, size_t size) {
  std::string looped;
  while (!file.empty() && looped.size() < size) looped += file;
  return looped.substr(0, size);
}

KxDPTuneRequestParam Unset() {
  KxDPTuneRequestParam param;
  int32_t* fields = &param.lnbPosition;
  for (int i = 0; i < 23; ++i) fields[i] = -1;
  return param;
}

class DefaultPluginTuning : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("DTV_DEMO_DIR", DTV_DEMO_DIR, 1); }
  void TearDown() override {
    if (m_graph) m_graph->Stop();
  }

  // The graph of the virtual tuner `id`, and a plug-in manager on it.
  void Build(const std::string& description, const std::string& id, LONG deviceType) {
    ComPtr<IUnknown> tuner;
    ASSERT_EQ(CVirtualTunerFilter::Create("virtualdvb:" + description + "#" + id, tuner.Put()), S_OK);
    m_tuner = QueryAs<IBaseFilter>(tuner.Get());
    ASSERT_EQ(CNetworkProvider::Create(CLSID_NetworkProvider, m_provider.Put()), S_OK);
    ASSERT_EQ(m_graph->AddFilter(m_provider.Get(), u"Vista NP"), S_OK);
    ASSERT_EQ(m_graph->AddFilter(m_tuner.Get(), u"Tuner"), S_OK);
    ASSERT_EQ(m_graph->AddFilter(m_renderer.Get(), u"Renderer"), S_OK);
    ASSERT_EQ(m_graph->ConnectDirect(tune::FindPin(m_provider.Get(), PINDIR_OUTPUT).Get(),
                                     tune::FindPin(m_tuner.Get(), PINDIR_INPUT).Get(), nullptr),
              S_OK);
    ASSERT_EQ(m_graph->ConnectDirect(tune::FindPin(m_tuner.Get(), PINDIR_OUTPUT).Get(),
                                     tune::FindPin(m_renderer.Get(), PINDIR_INPUT).Get(), nullptr),
              S_OK);
    m_manager.m_filters[KxFLTNetworkProvider] = m_provider;
    m_manager.m_filters[KxFLTNetworkTuner] = m_tuner;
    m_manager.m_deviceType = deviceType;
    m_plugins = std::make_unique<CDevicePluginManager>(&m_manager, BuiltInDevicePlugins(), "");
  }

  HRESULT Tune(LONG deviceType, LONG capability, const KxDPTuneRequestParam& param) {
    ComPtr<IKxDevicePlugin> plugin;
    if (m_plugins->FindDevicePlugin(capability, plugin.Put()) != S_OK) return E_FAIL;
    ComPtr<IKxDPCommand> command;
    const HRESULT hr = CKxDPTuneRequestCommand::CreateInstance(deviceType, param, command.Put());
    return FAILED(hr) ? hr : plugin->ExecuteCommand(KxDPEvent_TuneRequest, command.Get());
  }

  // Runs the graph until the renderer has `bytes`, then stops it.
  std::string Receive(size_t bytes) {
    EXPECT_EQ(m_graph->Run(), S_OK);
    EXPECT_TRUE(AdvanceUntil(*m_clock, 20, [&] { return m_renderer->Bytes().size() >= bytes; }));
    EXPECT_EQ(m_graph->Stop(), S_OK);
    return m_renderer->Bytes();
  }

  bool Locked() {
    ComPtr<IUnknown> node;
    QueryAs<IBDA_Topology>(m_tuner.Get())->GetControlNode(0, 1, 0, node.Put());
    BOOLEAN locked = 0;
    QueryAs<IBDA_SignalStatistics>(node.Get())->get_SignalLocked(&locked);
    return locked != 0;
  }

  ScopedManualClock m_clock;
  TempDir m_dir;
  FakeGraphManager m_manager;
  ComPtr<ComObject<CFilterGraph>> m_graph = ComObject<CFilterGraph>::Make();
  ComPtr<IBaseFilter> m_provider;
  ComPtr<IBaseFilter> m_tuner;
  ComPtr<ComObject<CTestRenderer>> m_renderer = ComObject<CTestRenderer>::Make();
  std::unique_ptr<CDevicePluginManager> m_plugins;
};
}  // namespace

TEST_F(DefaultPluginTuning, TunesTheDemoMultiplexOfADvbtCommand) {
  const std::string mux2 = ReadFileBytes(DemoFile(2));
  ASSERT_GT(mux2.size(), 0u);
  Build(DTV_DEMO_DESCRIPTION, "demo-dvbt-1", KxCaptureDeviceType_Dvbt);
  KxDPTuneRequestParam param = Unset();
  param.carrierFrequency = 522000;
  param.bandwidth = 8;
  param.serviceId = 2;
  ASSERT_EQ(Tune(KxCaptureDeviceType_Dvbt, KxDPCapability_TuneDvbt, param), S_OK);
  EXPECT_TRUE(Locked());
  const std::string received = Receive(4 * CVirtualTunerFilter::kSampleBytes);
  ASSERT_GE(received.size(), 4 * CVirtualTunerFilter::kSampleBytes);
  EXPECT_TRUE(received == Looped(mux2, received.size())) << "the renderer got other bytes than the multiplex's";
}

TEST_F(DefaultPluginTuning, DvbsCommandSwitchesToTheSecondLnbWithOneOscillator) {
  const std::string description = m_dir.Write("sat.xml", R"(<virtualTuners>
  <tuner id="sat" system="DVB-S2" friendlyName="Sat">
    <multiplex frequency="11493750" lnb="0" polarisation="H" symbolRate="22000" file=")" + DemoFile(1) + R"("/>
    <multiplex frequency="11493750" lnb="1" polarisation="H" symbolRate="22000" file=")" + DemoFile(3) + R"("/>
  </tuner></virtualTuners>)");
  Build(description, "sat", KxCaptureDeviceType_Dvbs);
  KxDPTuneRequestParam param = Unset();
  param.lnbPosition = 2;
  param.carrierFrequency = 11493750;
  param.polarisation = BDA_POLARISATION_LINEAR_H;
  param.symbolRate = 22000;
  param.lowOscillator = 10750000;  // a single-oscillator LNB
  param.modulation = BDA_MOD_NBC_8PSK;
  ASSERT_EQ(Tune(KxCaptureDeviceType_Dvbs, KxDPCapability_TuneDvbs, param), S_OK);
  EXPECT_TRUE(Locked());

  ComPtr<IUnknown> node;
  ASSERT_EQ(QueryAs<IBDA_Topology>(m_tuner.Get())->GetControlNode(0, 1, 0, node.Put()), S_OK);
  const auto lnb = QueryAs<IBDA_LNBInfo>(node.Get());
  ULONG low = 0, high = 1, lnbSwitch = 1, range = 0;
  lnb->get_LocalOscilatorFrequencyLowBand(&low);
  lnb->get_LocalOscilatorFrequencyHighBand(&high);
  lnb->get_HighLowSwitchFrequency(&lnbSwitch);
  QueryAs<IBDA_FrequencyFilter>(node.Get())->get_Range(&range);
  EXPECT_EQ(low, 10750000u);
  EXPECT_EQ(high, 0u) << "one oscillator has no high band";
  EXPECT_EQ(lnbSwitch, 0u);
  EXPECT_EQ(range, 1u);

  const std::string mux3 = ReadFileBytes(DemoFile(3));
  const std::string received = Receive(2 * CVirtualTunerFilter::kSampleBytes);
  ASSERT_GE(received.size(), 2 * CVirtualTunerFilter::kSampleBytes);
  EXPECT_TRUE(received == Looped(mux3, received.size())) << "not the second LNB's multiplex";
}
