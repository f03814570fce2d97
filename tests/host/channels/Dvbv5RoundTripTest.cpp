// dvbv5 channel files against libdvbv5 itself: what dtv writes, libdvbv5
// reads with the same values, and what libdvbv5 writes, dtv imports with the
// same values.
#include <gtest/gtest.h>

#include <fstream>

#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"
#include "channels/AnalysisChannels.h"
#include "channels/ChannelProperties.h"
#include "channels/ChannelRecord.h"
#include "channels/Dvbv5Channels.h"
#include "channels/PidInfoObjects.h"
#include "platform/bda/BdaTypes.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#if DTV_HAVE_LIBDVBV5
#include <libdvbv5/dvb-file.h>
#endif

namespace {

#define REQUIRE_LIBDVBV5()                                                             \
  if (!DTV_HAVE_LIBDVBV5) {                                                            \
    if (testdata::InCi()) FAIL() << "libdvbv5 missing (scripts/setup)";                \
    GTEST_SKIP() << "libdvbv5 not installed (libdvbv5-dev): no round trip";            \
  }

#if DTV_HAVE_LIBDVBV5
using DvbFile = std::unique_ptr<dvb_file, decltype(&dvb_file_free)>;

uint32_t Property(dvb_entry* entry, unsigned command) {
  uint32_t value = 0;
  EXPECT_EQ(dvb_retrieve_entry_prop(entry, command, &value), 0) << "property " << command << " of " << entry->channel;
  return value;
}

std::vector<uint16_t> Pids(const uint16_t* pids, unsigned count) { return {pids, pids + count}; }

std::vector<uint16_t> PidsOfKind(const CChannel& record, PsiRenderer_StreamType kind) {
  std::vector<uint16_t> pids;
  for (const PidRecord& p : record.m_vPids)
    if (p.classification == kind) pids.push_back(p.pid);
  return pids;
}

ComPtr<IKxChannel> SatelliteChannel() {
  ComPtr<IKxChannel> channel = NewChannel();
  IKxChannel* c = channel.Get();
  c->put_Type(KxChannelType_DvbsTv);
  PutText(c, &IKxChannel::put_Title, "Das Erste HD");
  c->put_ServiceId(10301);
  c->put_NetworkId(1);
  c->put_TransportStreamId(1019);
  c->put_CarrierFrequency(11494000);
  c->put_SymbolRate(22000);
  c->put_SignalPolarisation(BDA_POLARISATION_LINEAR_H);
  c->put_Modulation(BDA_MOD_8PSK);
  c->put_LnbPosition(2);
  PutNamedLong(c, u"InnerFec", 2);  // 2/3
  c->AddPidInfo(VideoPidInfo(5101, 0x1B).Get());
  c->AddPidInfo(AudioPidInfo(5102, 3, "deu", false).Get());
  c->AddPidInfo(AudioPidInfo(5106, 6, "deu", true).Get());
  return channel;
}

ComPtr<IKxChannel> CableChannel() {
  ComPtr<IKxChannel> channel = NewChannel();
  IKxChannel* c = channel.Get();
  c->put_Type(KxChannelType_DvbcRadio);
  PutText(c, &IKxChannel::put_Title, "Radio #1 [Kabel]");
  c->put_ServiceId(28);
  c->put_CarrierFrequency(346000);
  c->put_SymbolRate(6900);
  c->put_Modulation(BDA_MOD_256QAM);
  c->AddPidInfo(AudioPidInfo(401, 3, "", false).Get());
  return channel;
}
#endif

TEST(Dvbv5RoundTrip, FilesDtvWritesAreReadByLibdvbv5WithTheSameValues) {
  REQUIRE_LIBDVBV5();
#if DTV_HAVE_LIBDVBV5
  REQUIRE_SHARED_FILE(stream, "test-108.ts");
  ChannelList channels = ChannelsFromAnalysis(AnalyzeRecordingFile(stream.string(), false, false).channels);
  ASSERT_EQ(channels.size(), 8u);
  channels.push_back(SatelliteChannel());
  channels.push_back(CableChannel());
  size_t skipped = 0;
  TempDir dir;
  const std::string path = dir.Write("channels.conf", Dvbv5Text(Dvbv5ChannelEntries(channels, skipped)));
  EXPECT_EQ(skipped, 0u);

  const DvbFile file(dvb_read_file_format(path.c_str(), SYS_UNDEFINED, FILE_DVBV5), dvb_file_free);
  ASSERT_TRUE(file);
  size_t index = 0;
  for (dvb_entry* entry = file->first_entry; entry; entry = entry->next, ++index) {
    ASSERT_LT(index, channels.size());
    IKxChannel* channel = channels[index].Get();
    const CChannel record = ChannelRecordOf(channel);
    SCOPED_TRACE(TextOf(channel, &IKxChannel::get_Title));
    const std::string title = TextOf(channel, &IKxChannel::get_Title);
    EXPECT_EQ(entry->channel, title == "Radio #1 [Kabel]" ? "Radio #1 [Kabel)" : title);
    EXPECT_EQ(entry->service_id, record.m_nServiceId);
    EXPECT_EQ(Pids(entry->video_pid, entry->video_pid_len), PidsOfKind(record, PsiRenderer_StreamType_Video));
    EXPECT_EQ(Pids(entry->audio_pid, entry->audio_pid_len), PidsOfKind(record, PsiRenderer_StreamType_Audio));
    const LONG khz = LongOf(channel, &IKxChannel::get_CarrierFrequency);
    switch (LongOf(channel, &IKxChannel::get_Type)) {
      case KxChannelType_DvbtTv:
      case KxChannelType_DvbtRadio:
        EXPECT_EQ(Property(entry, DTV_DELIVERY_SYSTEM), SYS_DVBT);
        EXPECT_EQ(Property(entry, DTV_FREQUENCY), khz * 1000u);
        EXPECT_EQ(Property(entry, DTV_BANDWIDTH_HZ), 8000000u);
        EXPECT_EQ(entry->network_id, 318);
        EXPECT_EQ(entry->transport_id, 18432);
        break;
      case KxChannelType_DvbsTv:
        EXPECT_EQ(Property(entry, DTV_DELIVERY_SYSTEM), SYS_DVBS2);
        EXPECT_EQ(Property(entry, DTV_FREQUENCY), 11494000u);  // kHz for satellites
        EXPECT_EQ(Property(entry, DTV_SYMBOL_RATE), 22000000u);
        EXPECT_EQ(Property(entry, DTV_POLARIZATION), POLARIZATION_H);
        EXPECT_EQ(Property(entry, DTV_MODULATION), PSK_8);
        EXPECT_EQ(Property(entry, DTV_INNER_FEC), FEC_2_3);
        EXPECT_EQ(entry->sat_number, 1);  // DiSEqC position 2
        EXPECT_EQ(entry->network_id, 1);
        EXPECT_EQ(entry->transport_id, 1019);
        break;
      case KxChannelType_DvbcRadio:
        EXPECT_EQ(Property(entry, DTV_DELIVERY_SYSTEM), SYS_DVBC_ANNEX_A);
        EXPECT_EQ(Property(entry, DTV_FREQUENCY), 346000000u);
        EXPECT_EQ(Property(entry, DTV_SYMBOL_RATE), 6900000u);
        EXPECT_EQ(Property(entry, DTV_MODULATION), QAM_256);
        break;
      default: ADD_FAILURE() << "unexpected channel type";
    }
  }
  EXPECT_EQ(index, channels.size());
#endif
}

TEST(Dvbv5RoundTrip, FilesLibdvbv5WritesAreImportedWithTheSameValues) {
  REQUIRE_LIBDVBV5();
#if DTV_HAVE_LIBDVBV5
  // Built as dvbv5-scan builds its entries.
  dvb_file* file = static_cast<dvb_file*>(calloc(1, sizeof(dvb_file)));
  const DvbFile owner(file, dvb_file_free);
  const auto add = [file](const char* name, uint16_t serviceId, std::vector<uint16_t> video,
                          std::vector<uint16_t> audio) {
    auto* entry = static_cast<dvb_entry*>(calloc(1, sizeof(dvb_entry)));
    entry->channel = strdup(name);
    entry->service_id = serviceId;
    entry->sat_number = -1;
    const auto copy = [](const std::vector<uint16_t>& pids, uint16_t** out, unsigned* count) {
      if (pids.empty()) return;
      *out = static_cast<uint16_t*>(calloc(pids.size(), sizeof(uint16_t)));
      std::copy(pids.begin(), pids.end(), *out);
      *count = static_cast<unsigned>(pids.size());
    };
    copy(video, &entry->video_pid, &entry->video_pid_len);
    copy(audio, &entry->audio_pid, &entry->audio_pid_len);
    dvb_entry** last = &file->first_entry;
    while (*last) last = &(*last)->next;
    *last = entry;
    return entry;
  };
  dvb_entry* t = add("ZDF", 514, {545}, {546, 547});
  t->network_id = 8468;
  t->transport_id = 769;
  dvb_store_entry_prop(t, DTV_DELIVERY_SYSTEM, SYS_DVBT);
  dvb_store_entry_prop(t, DTV_FREQUENCY, 570000000);
  dvb_store_entry_prop(t, DTV_BANDWIDTH_HZ, 8000000);
  dvb_store_entry_prop(t, DTV_MODULATION, QAM_16);
  dvb_entry* s = add("arte HD", 10302, {6210}, {6221});
  s->sat_number = 0;
  dvb_store_entry_prop(s, DTV_DELIVERY_SYSTEM, SYS_DVBS);
  dvb_store_entry_prop(s, DTV_FREQUENCY, 10743750);
  dvb_store_entry_prop(s, DTV_SYMBOL_RATE, 22000000);
  dvb_store_entry_prop(s, DTV_POLARIZATION, POLARIZATION_V);
  dvb_store_entry_prop(s, DTV_MODULATION, QPSK);
  dvb_store_entry_prop(s, DTV_INNER_FEC, FEC_5_6);
  dvb_entry* c = add("WDR 2", 28111, {}, {401});
  dvb_store_entry_prop(c, DTV_DELIVERY_SYSTEM, SYS_DVBC_ANNEX_A);
  dvb_store_entry_prop(c, DTV_FREQUENCY, 450000000);
  dvb_store_entry_prop(c, DTV_SYMBOL_RATE, 6900000);
  dvb_store_entry_prop(c, DTV_MODULATION, QAM_64);
  TempDir dir;
  const std::string path = dir / "channels.conf";
  ASSERT_EQ(dvb_write_file_format(path.c_str(), file, SYS_UNDEFINED, FILE_DVBV5), 0);

  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  std::string error;
  const auto entries = ParseDvbv5(text, error);
  ASSERT_TRUE(entries) << error;
  const auto channels = ChannelsOfDvbv5(*entries, error);
  ASSERT_TRUE(channels) << error;
  ASSERT_EQ(channels->size(), 3u);

  IKxChannel* zdf = (*channels)[0].Get();
  EXPECT_EQ(TextOf(zdf, &IKxChannel::get_Title), "ZDF");
  EXPECT_EQ(LongOf(zdf, &IKxChannel::get_Type), KxChannelType_DvbtTv);
  EXPECT_EQ(LongOf(zdf, &IKxChannel::get_ServiceId), 514);
  EXPECT_EQ(LongOf(zdf, &IKxChannel::get_NetworkId), 8468);
  EXPECT_EQ(LongOf(zdf, &IKxChannel::get_TransportStreamId), 769);
  EXPECT_EQ(LongOf(zdf, &IKxChannel::get_CarrierFrequency), 570000);
  EXPECT_EQ(LongOf(zdf, &IKxChannel::get_Bandwidth), 8);
  EXPECT_EQ(LongOf(zdf, &IKxChannel::get_Modulation), BDA_MOD_16QAM);
  const CChannel zdfRecord = ChannelRecordOf(zdf);
  EXPECT_EQ(PidsOfKind(zdfRecord, PsiRenderer_StreamType_Video), std::vector<uint16_t>{545});
  EXPECT_EQ(PidsOfKind(zdfRecord, PsiRenderer_StreamType_Audio), (std::vector<uint16_t>{546, 547}));

  IKxChannel* arte = (*channels)[1].Get();
  EXPECT_EQ(LongOf(arte, &IKxChannel::get_Type), KxChannelType_DvbsTv);
  EXPECT_EQ(LongOf(arte, &IKxChannel::get_CarrierFrequency), 10743750);
  EXPECT_EQ(LongOf(arte, &IKxChannel::get_SymbolRate), 22000);
  EXPECT_EQ(LongOf(arte, &IKxChannel::get_SignalPolarisation), BDA_POLARISATION_LINEAR_V);
  EXPECT_EQ(LongOf(arte, &IKxChannel::get_Modulation), BDA_MOD_QPSK);
  EXPECT_EQ(NamedLongOf(arte, u"InnerFec"), 6);  // 5/6
  EXPECT_EQ(LongOf(arte, &IKxChannel::get_LnbPosition), 1);

  IKxChannel* wdr = (*channels)[2].Get();
  EXPECT_EQ(LongOf(wdr, &IKxChannel::get_Type), KxChannelType_DvbcRadio);
  EXPECT_EQ(LongOf(wdr, &IKxChannel::get_CarrierFrequency), 450000);
  EXPECT_EQ(LongOf(wdr, &IKxChannel::get_SymbolRate), 6900);
  EXPECT_EQ(LongOf(wdr, &IKxChannel::get_Modulation), BDA_MOD_64QAM);
#endif
}

}  // namespace
