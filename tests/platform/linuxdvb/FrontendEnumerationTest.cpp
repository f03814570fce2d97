#include <gtest/gtest.h>

#include "DSH/DSH.h"
#include "platform/bda/Topology.h"
#include "platform/linuxdvb/FrontendEnumeration.h"
#include "platform/com/Utf.h"
#include "support/FakeFrontend.h"

namespace {
std::vector<GUID> NodeFunctions(const std::string& moniker) {
  ComPtr<IUnknown> filter;
  BStr name(Utf8ToUtf16(moniker));
  EXPECT_EQ(DSH::CreateFilterByMonikerName(name.Get(), filter.Put()), S_OK);
  auto topology = QueryAs<IBDA_Topology>(filter.Get());
  std::vector<GUID> functions;
  if (!topology) return functions;
  BDANODE_DESCRIPTOR nodes[10];
  ULONG count = 0;
  EXPECT_EQ(topology->GetNodeDescriptors(&count, 10, nodes), S_OK);
  for (ULONG i = 0; i < count; ++i) functions.push_back(nodes[i].guidFunction);
  return functions;
}
}  // namespace

TEST(FrontendEnumeration, FindsEachAdapterWithItsDeliverySystems) {
  TempDir root;
  FakeFrontendIo io(root);
  for (const auto& spec : ThreeAdapters()) io.Add(spec);
  root.Write("dev/dvb/notanadapter/frontend0", "");

  const auto frontends = EnumerateFrontends(io.DevRoot(), io);
  ASSERT_EQ(frontends.size(), 4u);
  const std::string second = io.DevRoot() + "/dvb/adapter1/frontend0";
  EXPECT_EQ(frontends[0].path, io.DevRoot() + "/dvb/adapter0/frontend0");
  EXPECT_EQ(frontends[0].moniker, frontends[0].path);  // one family: the path is the moniker
  EXPECT_EQ(frontends[0].name, "STV0903 DVB-S2");
  EXPECT_EQ(frontends[0].systems, (std::vector{DeliverySystem::DvbS, DeliverySystem::DvbS2}));
  // A DVB-T/T2/C frontend is a terrestrial and a cable device.
  EXPECT_EQ(frontends[1].adapter, 1);
  EXPECT_EQ(frontends[1].path, second);
  EXPECT_EQ(frontends[1].moniker, second + "#dvb-t");
  EXPECT_EQ(frontends[1].systems, (std::vector{DeliverySystem::DvbT, DeliverySystem::DvbT2}));
  EXPECT_EQ(frontends[2].path, second);
  EXPECT_EQ(frontends[2].moniker, second + "#dvb-c");
  EXPECT_EQ(frontends[2].systems, std::vector{DeliverySystem::DvbC});
  // ATSC and North American cable are one family.
  EXPECT_EQ(frontends[3].systems, (std::vector{DeliverySystem::Atsc, DeliverySystem::DvbCAnnexB}));
  EXPECT_EQ(io.closed, 3);
}

TEST(FrontendEnumeration, EachDeliveryFamilyOfAFrontendIsTypedByItsOwnDemodulator) {
  TempDir root;
  FakeFrontendIo io(root);
  for (const auto& spec : ThreeAdapters()) io.Add(spec);
  const std::string second = io.DevRoot() + "/dvb/adapter1/frontend0";
  EXPECT_EQ(NodeFunctions(second + "#dvb-c"), (std::vector<GUID>{KSNODE_BDA_RF_TUNER, KSNODE_BDA_QAM_DEMODULATOR}));
  EXPECT_EQ(NodeFunctions(second + "#dvb-t"), (std::vector<GUID>{KSNODE_BDA_RF_TUNER, KSNODE_BDA_COFDM_DEMODULATOR}));
  const auto cable = QueryFrontend(second + "#dvb-c", io);
  ASSERT_TRUE(cable);
  EXPECT_EQ(cable->path, second);  // the device to open
  EXPECT_FALSE(QueryFrontend(second + "#dvb-s", io));  // a family the frontend does not receive
  int adapter = -1, frontend = -1;
  EXPECT_TRUE(ParseFrontendPath(second + "#atsc", adapter, frontend));
  EXPECT_EQ(adapter, 1);
  EXPECT_FALSE(ParseFrontendPath(second + "#dab", adapter, frontend));
}

TEST(FrontendEnumeration, OldDriverWithoutDelsysListFallsBackToFrontendType) {
  TempDir root;
  FakeFrontendIo io(root);
  io.Add({0, "Old DVB-C", FE_QAM, {}, "1", "2", "Old"});
  const auto frontends = EnumerateFrontends(io.DevRoot(), io);
  ASSERT_EQ(frontends.size(), 1u);
  EXPECT_EQ(frontends[0].systems, std::vector{DeliverySystem::DvbC});
}

TEST(FrontendEnumeration, MissingOrUnsupportedFrontendsAreLeftOut) {
  TempDir root;
  FakeFrontendIo io(root);
  io.Add({0, "DAB only", FE_OFDM, {SYS_DAB}, "1", "2", "X"});
  root.Write("dev/dvb/adapter5/frontend0", "");  // not answering: open fails
  EXPECT_TRUE(EnumerateFrontends(io.DevRoot(), io).empty());
  EXPECT_TRUE(EnumerateFrontends(root / "nothing-here", io).empty());
}

TEST(FrontendTopology, DemodulatorNodesFollowTheDeliverySystems) {
  TempDir root;
  FakeFrontendIo io(root);
  std::vector<std::string> paths;
  for (const auto& spec : ThreeAdapters()) paths.push_back(io.Add(spec));

  EXPECT_EQ(NodeFunctions(paths[0]), (std::vector{KSNODE_BDA_RF_TUNER, KSNODE_BDA_QPSK_DEMODULATOR}));
  EXPECT_EQ(NodeFunctions(paths[1]),
            (std::vector{KSNODE_BDA_RF_TUNER, KSNODE_BDA_COFDM_DEMODULATOR, KSNODE_BDA_QAM_DEMODULATOR}));
  EXPECT_EQ(NodeFunctions(paths[2]), (std::vector{KSNODE_BDA_RF_TUNER, KSNODE_BDA_8VSB_DEMODULATOR}));

  ComPtr<IUnknown> filter;
  BStr absent(Utf8ToUtf16(io.DevRoot() + "/dvb/adapter9/frontend0"));
  EXPECT_EQ(DSH::CreateFilterByMonikerName(absent.Get(), filter.Put()), E_FAIL);
  BStr unknownKind(u"@device:pnp:something");
  EXPECT_EQ(DSH::CreateFilterByMonikerName(unknownKind.Get(), filter.Put()), E_INVALIDARG);
  EXPECT_EQ(DSH::CreateFilterByMonikerName(nullptr, filter.Put()), E_POINTER);
}
