#include <gtest/gtest.h>

#include <thread>

#include "DSFilters/PsiRenderer/ChannelCOM.h"
#include "DSFilters/PsiRenderer/ChannelsCOM.h"
#include "DSFilters/PsiRenderer/TransponderFrequenciesCOM.h"
#include "DSFilters/PsiRenderer/engine/Channels.h"
#include "DSFilters/PsiRenderer/engine/TransponderFrequencies.h"
#include "platform/com/ComPtr.h"

namespace {

TEST(ChannelsTest, CreateChannelNumbersOrdinalsAndFindsFirstMatch) {
  CChannels channels;
  auto first = channels.CreateChannel(5);
  auto second = channels.CreateChannel(7);
  auto duplicate = channels.CreateChannel(5);
  EXPECT_EQ(first->m_nOrdinal, 1);
  EXPECT_EQ(second->m_nOrdinal, 2);
  EXPECT_EQ(duplicate->m_nOrdinal, 3);
  EXPECT_EQ(channels.FindByProgramNumber(5), first);
  EXPECT_EQ(channels.FindByProgramNumber(9), nullptr);
  EXPECT_EQ(channels.GetChannel(1), second);
  EXPECT_EQ(channels.GetChannel(3), nullptr);
  EXPECT_EQ(first->m_nPcrPid, -1);
  EXPECT_EQ(first->m_nVideoStreamType, 0);
}

TEST(ChannelsTest, ApplyCatPresenceKeepsTheFlagOnlyWithACompleteCat) {
  struct Case {
    int32_t ca;
    bool catSeen;
    int32_t expected;
  };
  const Case cases[] = {{1, true, 1}, {1, false, 0}, {-1, true, 1}, {-1, false, 0}, {0, true, 0}, {0, false, 0}};
  for (const Case& c : cases) {
    CChannels channels;
    channels.CreateChannel(1)->m_nCa = c.ca;
    if (c.catSeen) channels.SetCatSeen();
    channels.ApplyCatPresence();
    EXPECT_EQ(channels.GetChannel(0)->m_nCa, c.expected) << "ca " << c.ca << " cat " << c.catSeen;
  }
}

TEST(ChannelsTest, ClearKeepsTheCatSeenFlag) {
  CChannels channels;
  channels.CreateChannel(1);
  channels.SetCatSeen();
  channels.Clear();
  EXPECT_EQ(channels.Size(), 0u);
  EXPECT_EQ(channels.CatSeen(), 1);
  EXPECT_EQ(channels.CreateChannel(2)->m_nOrdinal, 1);
}

TEST(ChannelsSnapshotTest, CopiesTheListAndStaysUnchanged) {
  auto channels = std::make_shared<CChannels>();
  auto live = channels->CreateChannel(3);
  live->m_bstrServiceName = BStr(u"Rai 1");
  live->m_vAudio.push_back({{'i', 't', 'a'}, 3, 1, 0x101});
  live->m_vPids.push_back({0x100, 2, PsiRenderer_StreamType_Video});

  ComPtr<IChannels> snapshot;
  ASSERT_EQ(CChannelsCOM::CreateInstance(channels, snapshot.Put()), S_OK);
  live->m_bstrServiceName = BStr(u"changed");
  channels->CreateChannel(4);

  LONG count = 0;
  ASSERT_EQ(snapshot->get_Count(&count), S_OK);
  EXPECT_EQ(count, 1);
  ComPtr<IChannel> channel;
  ASSERT_EQ(snapshot->get_Item(0, channel.Put()), S_OK);
  BStr name;
  ASSERT_EQ(channel->get_ChannelName(name.Put()), S_OK);
  EXPECT_EQ(name.View(), u"Rai 1");

  LONG pid = 0;
  uint8_t language[3] = {};
  boolean ac3 = 0;
  ASSERT_EQ(channel->GetAudioInfo(0, &pid, language, &ac3), S_OK);
  EXPECT_EQ(pid, 0x101);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(language), 3), "ita");
  EXPECT_EQ(ac3, 1);
  LONG streamType = 0, classification = 0;
  ASSERT_EQ(channel->GetPidInfo(0, &pid, &streamType, &classification), S_OK);
  EXPECT_EQ(classification, PsiRenderer_StreamType_Video);

  // Unset values read as -1; an unset CA flag reads as scrambled.
  LONG value = 0;
  EXPECT_EQ(channel->get_ServiceId(&value), S_OK);
  EXPECT_EQ(value, -1);
  boolean isCa = 0;
  EXPECT_EQ(channel->get_IsCa(&isCa), S_OK);
  EXPECT_EQ(isCa, 1);
}

TEST(ChannelsSnapshotTest, IndexAndPointerErrors) {
  ComPtr<IChannels> empty;
  ASSERT_EQ(CChannelsCOM::CreateInstance(nullptr, empty.Put()), S_OK);
  ComPtr<IChannel> item;
  for (LONG index : {-1, 0, 1}) EXPECT_EQ(empty->get_Item(index, item.Put()), E_INVALIDARG);
  EXPECT_EQ(CChannelsCOM::CreateInstance(nullptr, nullptr), E_POINTER);

  auto channels = std::make_shared<CChannels>();
  channels->CreateChannel(1);
  ComPtr<IChannels> list;
  ASSERT_EQ(CChannelsCOM::CreateInstance(channels, list.Put()), S_OK);
  EXPECT_EQ(list->get_Item(-1, item.Put()), E_INVALIDARG);
  EXPECT_EQ(list->get_Item(1, item.Put()), E_INVALIDARG);
  ASSERT_EQ(list->get_Item(0, item.Put()), S_OK);
  EXPECT_EQ(item->get_NumberOfAudio(nullptr), E_POINTER);
  LONG pid = 0, type = 0, cls = 0;
  EXPECT_EQ(item->GetPidInfo(0, &pid, &type, &cls), E_INVALIDARG);
  EXPECT_EQ(item->GetPidInfo(0, nullptr, &type, &cls), E_POINTER);
  EXPECT_EQ(item->get_ChannelName(nullptr), E_POINTER);
}

TEST(TransponderFrequenciesTest, KeepsDuplicatesInOrderAndSnapshots) {
  auto frequencies = std::make_shared<CTransponderFrequencies>();
  frequencies->AddSatellite(11725000, 27500, 2, 192, 1);
  frequencies->AddTerrestrial(474000, 8);
  frequencies->AddTerrestrial(474000, 8);
  ComPtr<ITransponderFrequencies> snapshot;
  ASSERT_EQ(CTransponderFrequenciesCOM::CreateInstance(frequencies, snapshot.Put()), S_OK);
  LONG count = 0;
  ASSERT_EQ(snapshot->get_Count(&count), S_OK);
  ASSERT_EQ(count, 3);
  ComPtr<ITransponderFrequency> item;
  ASSERT_EQ(snapshot->get_Item(0, item.Put()), S_OK);
  LONG value = 0;
  item->get_CarrierFrequency(&value);
  EXPECT_EQ(value, 11725000);
  item->get_OrbitalPosition(&value);
  EXPECT_EQ(value, 192);
  item->get_Bandwidth(&value);
  EXPECT_EQ(value, 0);
  ASSERT_EQ(snapshot->get_Item(2, item.Put()), S_OK);
  item->get_Bandwidth(&value);
  EXPECT_EQ(value, 8);
  EXPECT_EQ(snapshot->get_Item(3, item.Put()), E_INVALIDARG);
}

// A writer filling records under the list's lock while snapshots are taken:
// every snapshot sees each record either untouched or complete.
TEST(ChannelsSnapshotTest, NeverSeesAHalfWrittenRecord) {
  auto channels = std::make_shared<CChannels>();
  for (int program = 1; program <= 20; ++program) channels->CreateChannel(program);
  std::thread writer([&] {
    for (size_t i = 0; i < channels->Size(); ++i) {
      AutoLock lock(channels->Lock());
      auto channel = channels->GetChannel(i);
      channel->m_nPcrPid = 100;
      for (int pid = 0; pid < 50; ++pid) channel->m_vPids.push_back({static_cast<uint16_t>(pid), 2, {}});
      channel->m_nServiceId = channel->m_nProgramNumber;
    }
  });
  for (int round = 0; round < 200; ++round) {
    for (const CChannel& copy : channels->Copy()) {
      const bool untouched = copy.m_nPcrPid == -1 && copy.m_vPids.empty() && copy.m_nServiceId == -1;
      const bool complete = copy.m_nPcrPid == 100 && copy.m_vPids.size() == 50 &&
                            copy.m_nServiceId == copy.m_nProgramNumber;
      ASSERT_TRUE(untouched || complete);
    }
  }
  writer.join();
}

}  // namespace
