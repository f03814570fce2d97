#include "devplugins/DefaultPlugin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FakeBdaFilters.h"
#include "FakeDevicePlugin.h"
#include "devplugins/BuiltInDevicePlugins.h"
#include "devplugins/DevicePluginManager.h"
#include "devplugins/KxDPSetup.h"
#include "devplugins/KxDPTuneRequestCommand.h"
#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/KxFilterRole.h"
#include "logging/LogFile.h"
#include "support/TempSettingsRoot.h"

namespace {
using ::testing::ElementsAre;
using ::testing::HasSubstr;

KxDPTuneRequestParam Unset() {
  KxDPTuneRequestParam param;
  int32_t* fields = &param.lnbPosition;
  for (int i = 0; i < 23; ++i) fields[i] = -1;
  return param;
}

KxDPTuneRequestParam Dvbt(int32_t frequency, int32_t bandwidth, int32_t nid, int32_t tid, int32_t sid) {
  KxDPTuneRequestParam param = Unset();
  param.carrierFrequency = frequency;
  param.bandwidth = bandwidth;
  param.networkId = nid;
  param.transportStreamId = tid;
  param.serviceId = sid;
  return param;
}

KxDPTuneRequestParam Dvbs(int32_t lnbPosition, int32_t frequency, int32_t lowOscillator, int32_t highOscillator) {
  KxDPTuneRequestParam param = Unset();
  param.lnbPosition = lnbPosition;
  param.carrierFrequency = frequency;
  param.polarisation = BDA_POLARISATION_LINEAR_V;
  param.symbolRate = 27500;
  param.lowOscillator = lowOscillator;
  param.highOscillator = highOscillator;
  return param;
}

template <class T>
ComPtr<T> LocatorOf(ITuneRequest* request) {
  ComPtr<ILocator> locator;
  if (request) request->get_Locator(locator.Put());
  return QueryAs<T>(locator.Get());
}

template <class T>
ComPtr<T> SpaceOf(ITuneRequest* request) {
  ComPtr<ITuningSpace> space;
  if (request) request->get_TuningSpace(space.Put());
  return QueryAs<T>(space.Get());
}

struct DvbIds {
  LONG onid, tsid, sid;
};
DvbIds IdsOf(ITuneRequest* request) {
  DvbIds ids{0, 0, 0};
  if (auto dvb = QueryAs<IDVBTuneRequest>(request)) {
    dvb->get_ONID(&ids.onid);
    dvb->get_TSID(&ids.tsid);
    dvb->get_SID(&ids.sid);
  }
  return ids;
}

// A command whose parameter `id` answers `answer` (an empty value or a failure).
class CGappedCommand : public IKxDPCommand {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDPCommand>;
  CGappedCommand(LONG code, LONG id, HRESULT answer) : m_code(code), m_id(id), m_answer(answer) {}
  virtual ~CGappedCommand() = default;
  HRESULT get_Command(LONG* code) override {
    *code = m_code;
    return S_OK;
  }
  HRESULT get_Param(LONG id, VARIANT* value) override {
    VariantClear(value);
    if (id == m_id) return m_answer;
    value->vt = VT_I4;
    value->lVal = id == KxDPCommandParam_TuneRequest20_CarrierFrequency ? 522000 : 1;
    return S_OK;
  }

 private:
  LONG m_code, m_id;
  HRESULT m_answer;
};

class DefaultPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_graph.m_filters[KxFLTNetworkProvider] = static_cast<ITuner*>(m_tuner.Get());
    m_graph.m_filters[KxFLTNetworkTuner] = static_cast<IBDA_Topology*>(m_tunerFilter.Get());
    ASSERT_EQ(CKxDPSetup::CreateInstance(&m_graph, m_setup.Put()), S_OK);
    ASSERT_EQ(CDefaultPlugin::CreateInstance(m_plugin.Put()), S_OK);
    ASSERT_EQ(m_plugin->Init(m_setup.Get()), S_OK);
  }

  HRESULT Execute(LONG deviceType, const KxDPTuneRequestParam& param, LONG event = KxDPEvent_TuneRequest) {
    ComPtr<IKxDPCommand> command;
    EXPECT_EQ(CKxDPTuneRequestCommand::CreateInstance(deviceType, param, command.Put()), S_OK);
    return m_plugin->ExecuteCommand(event, command.Get());
  }
  ITuneRequest* LastRequest() const {
    return m_tuner->m_requests.empty() ? nullptr : m_tuner->m_requests.back().Get();
  }

  Journal m_journal;
  FakeGraphManager m_graph;
  ComPtr<ComObject<CFakeTuner>> m_tuner = ComObject<CFakeTuner>::Make(m_journal);
  ComPtr<ComObject<CFakeTunerFilter>> m_tunerFilter = ComObject<CFakeTunerFilter>::Make(m_journal);
  ComPtr<IKxDPSetup> m_setup;
  ComPtr<IKxDevicePlugin> m_plugin;
};
}  // namespace

TEST_F(DefaultPluginTest, DescribesItself) {
  LONG caps = 0;
  EXPECT_EQ(m_plugin->get_Capabilities(&caps), S_OK);
  EXPECT_EQ(caps, KxDPCapability_TuneDvbs | KxDPCapability_TuneDvbt | KxDPCapability_TuneDvbc | KxDPCapability_TuneAtsc);
  BStr description, manufacturer;
  EXPECT_EQ(m_plugin->get_Description(description.Put()), S_OK);
  EXPECT_EQ(m_plugin->get_Manufacturer(manufacturer.Put()), S_OK);
  EXPECT_EQ(description.Utf8(), "{9D9514BF-F1B6-478b-AF00-C09E974DDD6C}_Default_Plugin");
  EXPECT_EQ(manufacturer.Utf8(), "{9D9514BF-F1B6-478b-AF00-C09E974DDD6C}_Vexa");
  struct Case {
    LONG id;
    HRESULT result;
    LONG value;
  };
  for (const Case& c : {Case{0, S_OK, 2}, Case{1, S_OK, 15}, Case{2, E_FAIL, 0}, Case{-1, E_FAIL, 0}}) {
    Variant value;
    EXPECT_EQ(m_plugin->get_Property(c.id, &value), c.result) << c.id;
    if (c.result == S_OK) {
      EXPECT_EQ(value.vt, VT_I4) << c.id;
      EXPECT_EQ(value.lVal, c.value) << c.id;
    }
  }
  EXPECT_EQ(m_plugin->get_Property(0, nullptr), E_POINTER);
}

TEST_F(DefaultPluginTest, LnbPositionSwitchesTheDiseqcInputBeforeTheTune) {
  struct Case {
    int32_t position;
    std::vector<std::string> journal;
  };
  const Case cases[] = {
      {1, {"StartChanges", "put_Range 0", "CheckChanges", "put_TuneRequest"}},
      {2, {"StartChanges", "put_Range 1", "CheckChanges", "put_TuneRequest"}},
      {3, {"StartChanges", "put_Range 256", "CheckChanges", "put_TuneRequest"}},
      {4, {"StartChanges", "put_Range 257", "CheckChanges", "put_TuneRequest"}},
      // No position (a single LNB without a switch): no DiSEqC, and still a tune.
      {0, {"put_TuneRequest"}},
      {-1, {"put_TuneRequest"}},
  };
  for (const Case& c : cases) {
    m_journal.clear();
    EXPECT_EQ(Execute(KxCaptureDeviceType_Dvbs, Dvbs(c.position, 11836000, 9750000, 10600000)), S_OK) << c.position;
    EXPECT_EQ(m_journal, c.journal) << c.position;
  }
  // The tuner's interfaces are looked up once, not per command.
  EXPECT_EQ(m_tunerFilter->m_controlNodeCalls, 2);
}

TEST_F(DefaultPluginTest, ServiceIdsOfMinusOneAreLeftUnset) {
  struct Case {
    int32_t nid, tid, sid;
  };
  for (const Case& c : {Case{8916, 1, 28006}, Case{-1, -1, -1}, Case{-1, 1, -1}, Case{0, -1, 4}}) {
    ASSERT_EQ(Execute(KxCaptureDeviceType_Dvbt, Dvbt(522000, 8, c.nid, c.tid, c.sid)), S_OK);
    const DvbIds ids = IdsOf(LastRequest());
    EXPECT_EQ(ids.onid, c.nid);
    EXPECT_EQ(ids.tsid, c.tid);
    EXPECT_EQ(ids.sid, c.sid);
  }
  const auto locator = LocatorOf<IDVBTLocator>(LastRequest());
  ASSERT_TRUE(locator);
  LONG frequency = 0, bandwidth = 0;
  locator->get_CarrierFrequency(&frequency);
  locator->get_Bandwidth(&bandwidth);
  EXPECT_EQ(frequency, 522000);
  EXPECT_EQ(bandwidth, 8);
}

TEST_F(DefaultPluginTest, SatelliteRequestCarriesTheWholeTransponderAndLnb) {
  KxDPTuneRequestParam param = Dvbs(2, 11954000, 9750000, 10600000);
  param.lnbSwitch = 11800000;
  param.innerFec = BDA_BCC_RATE_3_4;
  param.modulation = BDA_MOD_NBC_8PSK;
  param.pilot = BDA_PILOT_ON;
  param.rolloff = BDA_ROLL_OFF_25;
  ASSERT_EQ(Execute(KxCaptureDeviceType_Dvbs, param), S_OK);
  const auto locator = LocatorOf<IDVBSLocator2>(LastRequest());
  ASSERT_TRUE(locator);
  LONG frequency = 0, symbolRate = 0;
  Polarisation polarisation{};
  ModulationType modulation{};
  BinaryConvolutionCodeRate fec{};
  RollOff rollOff{};
  Pilot pilot{};
  locator->get_CarrierFrequency(&frequency);
  locator->get_SymbolRate(&symbolRate);
  locator->get_SignalPolarisation(&polarisation);
  locator->get_Modulation(&modulation);
  locator->get_InnerFECRate(&fec);
  locator->get_SignalRollOff(&rollOff);
  locator->get_SignalPilot(&pilot);
  EXPECT_EQ(frequency, 11954000);
  EXPECT_EQ(symbolRate, 27500);
  EXPECT_EQ(polarisation, BDA_POLARISATION_LINEAR_V);
  EXPECT_EQ(modulation, BDA_MOD_NBC_8PSK);
  EXPECT_EQ(fec, BDA_BCC_RATE_3_4);
  EXPECT_EQ(rollOff, BDA_ROLL_OFF_25);
  EXPECT_EQ(pilot, BDA_PILOT_ON);
  const auto space = SpaceOf<IDVBSTuningSpace>(LastRequest());
  ASSERT_TRUE(space);
  LONG low = 0, high = 0, lnbSwitch = 0;
  space->get_LowOscillator(&low);
  space->get_HighOscillator(&high);
  space->get_LNBSwitch(&lnbSwitch);
  EXPECT_EQ(low, 9750000);
  EXPECT_EQ(high, 10600000);
  EXPECT_EQ(lnbSwitch, 11800000);
}

TEST_F(DefaultPluginTest, AtscNetworkTypeChoosesCableOrAntenna) {
  struct Case {
    int32_t networkType;
    HRESULT result;
    TunerInputType input;
    LONG locatorValue;  // cable: frequency; antenna: physical channel
  };
  const Case cases[] = {{0, S_OK, TunerInputCable, 55250}, {1, S_OK, TunerInputAntenna, 14}, {2, E_FAIL, {}, 0}};
  for (const Case& c : cases) {
    m_journal.clear();
    KxDPTuneRequestParam param = Unset();
    param.atscNetworkType = c.networkType;
    param.physicalChannel = 14;
    param.carrierFrequency = 55250;
    param.modulation = BDA_MOD_256QAM;
    param.majorChannel = 7;
    param.minorChannel = 2;
    ASSERT_EQ(Execute(KxCaptureDeviceType_Atsc, param), c.result) << c.networkType;
    if (FAILED(c.result)) {
      EXPECT_TRUE(m_journal.empty()) << "the tuner was touched";
      continue;
    }
    const auto space = SpaceOf<IATSCTuningSpace>(LastRequest());
    const auto locator = LocatorOf<IATSCLocator>(LastRequest());
    const auto request = QueryAs<IATSCChannelTuneRequest>(LastRequest());
    ASSERT_TRUE(space && locator && request);
    TunerInputType input{};
    space->get_InputType(&input);
    EXPECT_EQ(input, c.input);
    LONG value = 0, major = 0, minor = 0;
    if (c.input == TunerInputCable) {
      locator->get_CarrierFrequency(&value);
      ModulationType modulation{};
      locator->get_Modulation(&modulation);
      EXPECT_EQ(modulation, BDA_MOD_256QAM);  // 64- and 256-QAM on one frequency are two multiplexes
    } else {
      locator->get_PhysicalChannel(&value);
    }
    EXPECT_EQ(value, c.locatorValue);
    request->get_Channel(&major);
    request->get_MinorChannel(&minor);
    EXPECT_EQ(major, 7);
    EXPECT_EQ(minor, 2);
  }
}

TEST_F(DefaultPluginTest, MissingParameterFailsWithoutTuning) {
  struct Case {
    LONG code, id;
    HRESULT answer, result;
  };
  const Case cases[] = {
      {KxDPCommand_TuneRequestDvbt, KxDPCommandParam_TuneRequest20_CarrierFrequency, S_OK, E_INVALIDARG},
      {KxDPCommand_TuneRequestDvbs, KxDPCommandParam_TuneRequest20_SymbolRate, S_OK, E_INVALIDARG},
      {KxDPCommand_TuneRequestDvbc, KxDPCommandParam_TuneRequest20_TID, E_FAIL, E_FAIL},
      {KxDPCommand_TuneRequestAtsc, KxDPCommandParam_TuneRequest20_AtscNetworkType, E_OUTOFMEMORY, E_OUTOFMEMORY},
  };
  for (const Case& c : cases) {
    m_journal.clear();
    auto command = ComObject<CGappedCommand>::Make(c.code, c.id, c.answer);
    EXPECT_EQ(m_plugin->ExecuteCommand(KxDPEvent_TuneRequest, command.Get()), c.result) << c.code << "/" << c.id;
    EXPECT_TRUE(m_journal.empty()) << c.code << "/" << c.id;
  }
}

TEST_F(DefaultPluginTest, OnlyTuneRequestEventsAreExecuted) {
  EXPECT_EQ(Execute(KxCaptureDeviceType_Dvbt, Dvbt(522000, 8, -1, -1, -1), KxDPEvent_CA), S_OK);
  EXPECT_TRUE(m_journal.empty());
  EXPECT_EQ(m_plugin->ExecuteCommand(KxDPEvent_TuneRequest, nullptr), E_POINTER);
}

TEST_F(DefaultPluginTest, WithoutFrequencyFilterTheTuneStillHappens) {
  m_graph.m_filters[KxFLTNetworkTuner] = ComObject<CTestFilter>::Make();
  ComPtr<IKxDevicePlugin> plugin;
  ASSERT_EQ(CDefaultPlugin::CreateInstance(plugin.Put()), S_OK);
  plugin->Init(m_setup.Get());
  auto* defaultPlugin = static_cast<CDefaultPlugin*>(plugin.Get());
  EXPECT_EQ(defaultPlugin->SwitchDiseqc(2), E_NOINTERFACE);
  ComPtr<IKxDPCommand> command;
  ASSERT_EQ(CKxDPTuneRequestCommand::CreateInstance(KxCaptureDeviceType_Dvbs, Dvbs(3, 11836000, 9750000, 10600000),
                                                    command.Put()),
            S_OK);
  EXPECT_EQ(plugin->ExecuteCommand(KxDPEvent_TuneRequest, command.Get()), S_OK);
  EXPECT_THAT(m_journal, ElementsAre("put_TuneRequest"));
}

TEST_F(DefaultPluginTest, WithoutNetworkProviderTheTuneFails) {
  m_graph.m_filters.erase(KxFLTNetworkProvider);
  ComPtr<IKxDevicePlugin> plugin;
  ASSERT_EQ(CDefaultPlugin::CreateInstance(plugin.Put()), S_OK);
  plugin->Init(m_setup.Get());
  ComPtr<IKxDPCommand> command;
  ASSERT_EQ(CKxDPTuneRequestCommand::CreateInstance(KxCaptureDeviceType_Dvbt, Dvbt(522000, 8, -1, -1, -1),
                                                    command.Put()),
            S_OK);
  EXPECT_TRUE(FAILED(plugin->ExecuteCommand(KxDPEvent_TuneRequest, command.Get())));
  EXPECT_TRUE(m_journal.empty());
  // After Uninit nothing of the graph is reached.
  plugin->Uninit();
  EXPECT_TRUE(FAILED(plugin->ExecuteCommand(KxDPEvent_TuneRequest, command.Get())));
}

TEST_F(DefaultPluginTest, TheTunerResultIsReturned) {
  m_tuner->m_result = E_INVALIDARG;
  EXPECT_EQ(Execute(KxCaptureDeviceType_Dvbt, Dvbt(522000, 8, -1, -1, -1)), E_INVALIDARG);
}

TEST_F(DefaultPluginTest, LogsEachTuneAndSwitch) {
  TempRoot root;
  const auto logPath = root.Path() / "plugin.log";
  root.WriteSettings("user", "FileName=\"" + logPath.string() + "\"\nLogLevel=1\n");
  LogFileInit();
  ASSERT_EQ(Execute(KxCaptureDeviceType_Dvbt, Dvbt(522000, 8, 8916, 1, 28006)), S_OK);
  KxDPTuneRequestParam cable = Unset();
  cable.carrierFrequency = 346000;
  cable.symbolRate = 6900;
  cable.modulation = BDA_MOD_256QAM;
  ASSERT_EQ(Execute(KxCaptureDeviceType_Dvbc, cable), S_OK);
  ASSERT_EQ(Execute(KxCaptureDeviceType_Dvbs, Dvbs(3, 11836000, 9750000, 10600000)), S_OK);
  KxDPTuneRequestParam atsc = Unset();
  atsc.atscNetworkType = 1;
  atsc.physicalChannel = 14;
  atsc.majorChannel = 7;
  atsc.minorChannel = 2;
  ASSERT_EQ(Execute(KxCaptureDeviceType_Atsc, atsc), S_OK);
  LogFileShutdown();
  std::ifstream file(logPath);
  std::stringstream text;
  text << file.rdbuf();
  const std::string log = text.str();
  for (const char* line : {"CDefaultPlugin: put tune request DVB-T. Frequency: 522000, bandwidth: 8",
                           "NID: 8916, SID: 28006, TID: 1",
                           "CDefaultPlugin: put channel DVB-C. Frequency: 346000, SR: 6900, modulation: 11",
                           "NID: -1, SID: -1, TID: -1", "Default plugin: DiSEqC Command SUCCESS",
                           "CDefaultPlugin: put tune request DVB-S. Frequency: 11836000, SR: 27500, polarization: 2",
                           "CDefaultPlugin: put tune request ATSC. Physical channel: 14, frequency: -1, tuner input "
                           "type: 1, major channel: 7, minor channel: 2"})
    EXPECT_THAT(log, HasSubstr(line));
}

TEST(DefaultPluginBuiltIn, TheManagerOffersItForEveryTuneAndNotForCa) {
  FakeGraphManager graph;
  const CDevicePluginManager manager(&graph, BuiltInDevicePlugins(), "");
  ASSERT_EQ(manager.BuiltIn().size(), 1u);
  EXPECT_EQ(manager.BuiltIn()[0].m_strDescription, "{9D9514BF-F1B6-478b-AF00-C09E974DDD6C}_Default_Plugin");
  for (LONG capability : {4, 8, 16, 32}) {
    ComPtr<IKxDevicePlugin> plugin;
    EXPECT_EQ(manager.FindDevicePlugin(capability, plugin.Put()), S_OK) << capability;
    EXPECT_EQ(plugin.Get(), manager.BuiltIn()[0].m_pDevicePlugin.Get()) << capability;
  }
  ComPtr<IKxDevicePlugin> none;
  EXPECT_EQ(manager.FindDevicePlugin(64, none.Put()), S_FALSE);
}
