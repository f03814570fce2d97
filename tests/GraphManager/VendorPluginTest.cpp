// Channel control through a vendor plug-in loaded from beside the test: the
// DVB-T tune command and conditional access for a scrambled channel.
#include "GraphManager/DemoHostChannel.h"
#include "GraphManager/DigitalGraphTestSupport.h"
#include "GraphManager/RecordingDevicePlugin.h"

namespace {
constexpr LONG kMux1KHz = 506000;
}  // namespace

TEST_F(DigitalGraphTest, AVendorPluginTunesAndAppliesConditionalAccess) {
  auto manager = NewManager({{kMux1KHz, DemoFile(1), ""}}, false);
  ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK);
  ComPtr<IUnknown> tuning, access;
  ASSERT_EQ(manager->FindDevicePlugin(KxDPCapability_TuneDvbt, tuning.Put()), S_OK);
  ASSERT_EQ(manager->FindDevicePlugin(KxDPCapability_CA, access.Put()), S_OK);
  ComPtr<ICommandRecord> record = QueryAs<ICommandRecord>(tuning.Get());
  ASSERT_TRUE(record) << "the vendor module was not loaded";
  EXPECT_EQ(QueryAs<IUnknown>(access.Get()), QueryAs<IUnknown>(tuning.Get()));

  ComPtr<IKxChannel> channel = DemoChannel(DemoFile(1), kMux1KHz);
  ASSERT_EQ(channel->put_Scrambled(VARIANT_TRUE), S_OK);
  ASSERT_EQ(manager->put_Channel(channel.Get()), S_OK);

  LONG nid = 0, sid = 0, tid = 0;
  channel->get_NetworkId(&nid);
  channel->get_ServiceId(&sid);
  channel->get_TransportStreamId(&tid);
  EXPECT_EQ(record->Executions(KxDPCommand_TuneRequestDvbt), 1);
  const std::pair<LONG, LONG> tuned[] = {{KxDPCommandParam_TuneRequest20_CarrierFrequency, kMux1KHz},
                                         {KxDPCommandParam_TuneRequest20_Bandwidth, 8},
                                         {KxDPCommandParam_TuneRequest20_NID, nid},
                                         {KxDPCommandParam_TuneRequest20_SID, sid},
                                         {KxDPCommandParam_TuneRequest20_TID, tid}};
  for (const auto& [id, expected] : tuned) {
    LONG value = -2;
    EXPECT_TRUE(record->Param(KxDPCommand_TuneRequestDvbt, id, &value)) << id;
    EXPECT_EQ(value, expected) << id;
  }
  EXPECT_FALSE(m_log.Contains("Plugin execution failed!"));

  // The PMT PID of the channel's PID information.
  LONG pmtPid = -1;
  LONG count = 0;
  ASSERT_EQ(channel->get_PidInfoCount(&count), S_OK);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxPidInfo> info;
    LONG kind = 0;
    ASSERT_EQ(channel->get_PidInfoByIndex(i, info.Put()), S_OK);
    if (SUCCEEDED(info->get_StreamType(&kind)) && kind == KxPidKind_Pmt) info->get_Pid(&pmtPid);
  }
  ASSERT_GT(pmtPid, 0);
  EXPECT_EQ(record->Executions(KxDPCommand_ApplyCA), 1);
  LONG applied = -1;
  EXPECT_TRUE(record->Param(KxDPCommand_ApplyCA, KxDPCommandParam_ApplyCA_PmtPid, &applied));
  EXPECT_EQ(applied, pmtPid);
  char line[96];
  std::snprintf(line, sizeof line, "Execute Command ApplyCA. PMT PID: %d (0x%04x), HRESULT: 0x00000000", int(pmtPid),
                unsigned(pmtPid));
  EXPECT_TRUE(m_log.Contains(line)) << line;
  // Deleting the graph unloads the module: nothing of it may be held then.
  record.Reset();
  tuning.Reset();
  access.Reset();
  ASSERT_EQ(manager->DeleteGraph(), S_OK);
}
