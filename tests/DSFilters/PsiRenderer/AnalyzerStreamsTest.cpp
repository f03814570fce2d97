// The channel lists that the offline analysis reads from recorded broadcasts,
// against the TSDuck and libdvbpsi reference dumps of the same streams.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamEpgReader.h"
#include "platform/os/InputFile.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace {

std::string Name(const BStr& text) { return text.Utf8(); }

std::string Language(const LanguageChars& language) { return std::string(language.begin(), language.end()); }

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct ExpectedService {
  int programNumber;
  int pmtPid;
  const char* name;
  int serviceType;
};

TEST(AnalyzerStreamsTest, Test108GivesEightNamedChannelsWithTheirStreams) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const TransportStreamAnalysis result = AnalyzeTransportStreamFile(path.string(), false);
  ASSERT_TRUE(result.error.empty()) << result.error;
  EXPECT_TRUE(result.pmtComplete);
  EXPECT_TRUE(result.sdtComplete);

  const ExpectedService expected[] = {
      {3401, 0x102, "Rai 1", 1},      {3402, 0x101, "Rai 2", 1},
      {3403, 0x100, "Rai 3 TGR Emilia Romagna", 1}, {3404, 0x103, "Rai Radio1", 2},
      {3405, 0x104, "Rai Radio2", 2}, {3406, 0x105, "Rai Radio3", 2},
      {3411, 0x118, "Rai News 24", 1}, {3410, 0x12c, "Test HEVC main10", 31},
  };
  ASSERT_EQ(result.channels->Size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto channel = result.channels->GetChannel(i);
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(channel->m_nOrdinal, static_cast<int>(i + 1));
    EXPECT_EQ(channel->m_nProgramNumber, expected[i].programNumber);
    EXPECT_EQ(channel->m_nServiceId, expected[i].programNumber);
    EXPECT_EQ(channel->m_nPmtPid, expected[i].pmtPid);
    EXPECT_EQ(Name(channel->m_bstrServiceName), expected[i].name);
    EXPECT_EQ(channel->m_nServiceType, expected[i].serviceType);
    EXPECT_EQ(channel->m_nTransportStreamId, 18432);
    EXPECT_EQ(channel->m_nOriginalNetworkId, 318);
    EXPECT_EQ(channel->m_nRunningStatus, 4);
    EXPECT_EQ(channel->m_nCa, 0);
    // Every stream, then the PMT's own PID.
    ASSERT_FALSE(channel->m_vPids.empty());
    EXPECT_EQ(channel->m_vPids.back().pid, expected[i].pmtPid);
    EXPECT_EQ(channel->m_vPids.back().classification, PsiRenderer_StreamType_Pmt);
  }

  // Rai 1: MPEG-2 video, three audio streams listed out of PID order, teletext.
  const auto rai1 = result.channels->GetChannel(0);
  EXPECT_EQ(rai1->m_nPcrPid, 0x200);
  EXPECT_EQ(rai1->m_nVideoStreamType, 1);
  const std::vector<std::pair<uint16_t, PsiRenderer_StreamType>> pids = {
      {0x200, PsiRenderer_StreamType_Video},   {0x28a, PsiRenderer_StreamType_Audio},
      {0x2b6, PsiRenderer_StreamType_Audio},   {0x240, PsiRenderer_StreamType_Teletext},
      {0xbb9, PsiRenderer_StreamType_Unknown}, {0xbba, PsiRenderer_StreamType_Unknown},
      {0x7d1, PsiRenderer_StreamType_Unknown}, {0x7d2, PsiRenderer_StreamType_Unknown},
      {0xc1d, PsiRenderer_StreamType_Unknown}, {0x2bb, PsiRenderer_StreamType_Audio},
      {0x102, PsiRenderer_StreamType_Pmt}};
  ASSERT_EQ(rai1->m_vPids.size(), pids.size());
  for (size_t i = 0; i < pids.size(); ++i) {
    EXPECT_EQ(rai1->m_vPids[i].pid, pids[i].first) << i;
    EXPECT_EQ(rai1->m_vPids[i].classification, pids[i].second) << i;
  }
  ASSERT_EQ(rai1->m_vAudio.size(), 3u);
  const std::pair<uint16_t, const char*> audio[] = {{0x28a, "ita"}, {0x2b6, "Oth"}, {0x2bb, "eng"}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(rai1->m_vAudio[i].pid, audio[i].first);
    EXPECT_EQ(Language(rai1->m_vAudio[i].language), audio[i].second);
    EXPECT_EQ(rai1->m_vAudio[i].type, 0x04);
    EXPECT_EQ(rai1->m_vAudio[i].ac3, 0);
  }
  ASSERT_EQ(rai1->m_vTeletext.size(), 3u);
  EXPECT_EQ(rai1->m_vTeletext[1].pid, 0x240);
  EXPECT_EQ(Language(rai1->m_vTeletext[2].language), "eng");
  EXPECT_EQ(rai1->m_vTeletext[2].teletext_type, 2);
  EXPECT_EQ(rai1->m_vTeletext[2].magazine_number, 7);
  EXPECT_EQ(rai1->m_vTeletext[2].page_number, 0x78);

  // Rai 3: an MPEG-1 audio stream keeps its stream type as the audio type.
  const auto rai3 = result.channels->GetChannel(2);
  ASSERT_EQ(rai3->m_vAudio.size(), 2u);
  EXPECT_EQ(rai3->m_vAudio[0].pid, 0x28c);
  EXPECT_EQ(rai3->m_vAudio[0].type, 0x03);
  EXPECT_EQ(Language(rai3->m_vAudio[0].language), "ITA");

  // A radio service: no video, one audio stream without a language.
  const auto radio = result.channels->GetChannel(3);
  EXPECT_EQ(radio->m_nVideoStreamType, 0);
  ASSERT_EQ(radio->m_vAudio.size(), 1u);
  EXPECT_EQ(radio->m_vAudio[0].pid, 0x28d);
  EXPECT_EQ(Language(radio->m_vAudio[0].language), std::string(3, '\0'));

}

// Today's codings in real broadcasts, as the TSDuck dumps of the same streams
// list them: HEVC video, E-AC-3 tracks (private data with the E-AC-3
// descriptor) beside MPEG audio.
TEST(AnalyzerStreamsTest, RealStreamsClassifyHevcAndEnhancedAc3) {
  struct Case {
    const char* file;
    int program;
    uint16_t pid;
    uint8_t streamType;
    PsiRenderer_StreamType classification;
    StreamCodec codec;
    const char* language;  // nullptr: no audio record
    int ac3;
  };
  const Case cases[] = {
      {"test-108.ts", 3410, 0x1f4, 0x24, PsiRenderer_StreamType_Video, StreamCodec::Hevc, nullptr, 0},
      {"test-108.ts", 3401, 0x200, 0x02, PsiRenderer_StreamType_Video, StreamCodec::Mpeg2Video, nullptr, 0},
      {"test-108.ts", 3403, 0x28c, 0x03, PsiRenderer_StreamType_Audio, StreamCodec::MpegAudio, "ITA", 0},
      {"test-092.sections.ts", 257, 0x078, 0x1B, PsiRenderer_StreamType_Video, StreamCodec::H264, nullptr, 0},
      {"test-092.sections.ts", 257, 0x082, 0x06, PsiRenderer_StreamType_Audio, StreamCodec::EAc3, "fre", 1},
      {"test-092.sections.ts", 257, 0x083, 0x06, PsiRenderer_StreamType_Audio, StreamCodec::EAc3, "qad", 1},
      {"test-092.sections.ts", 257, 0x084, 0x06, PsiRenderer_StreamType_Audio, StreamCodec::EAc3, "qaa", 1},
      {"test-092.sections.ts", 257, 0x08c, 0x06, PsiRenderer_StreamType_Unknown, StreamCodec::Unknown, nullptr, 0},
      {"test-092.sections.ts", 260, 0x14b, 0x06, PsiRenderer_StreamType_Audio, StreamCodec::EAc3, "qad", 1},
      {"test-092.sections.packed.ts", 261, 0x212, 0x06, PsiRenderer_StreamType_Audio, StreamCodec::EAc3, "fre", 1},
      {"test-092.sections.packed.ts", 368, 0x2da, 0x06, PsiRenderer_StreamType_Audio, StreamCodec::EAc3, "fra", 1},
      {"test-092.sections.ts", 273, 0x0e7, 0x03, PsiRenderer_StreamType_Audio, StreamCodec::MpegAudio, "qad", 0},
  };
  std::map<std::string, TransportStreamAnalysis> analyses;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.file << " program " << c.program << " pid " << c.pid);
    REQUIRE_SHARED_FILE(path, c.file);
    if (!analyses.contains(c.file)) analyses.emplace(c.file, AnalyzeTransportStreamFile(path.string(), false));
    const TransportStreamAnalysis& result = analyses.at(c.file);
    ASSERT_TRUE(result.error.empty()) << result.error;
    const auto channel = result.channels->FindByProgramNumber(static_cast<uint16_t>(c.program));
    ASSERT_NE(channel, nullptr);
    const auto record = std::find_if(channel->m_vPids.begin(), channel->m_vPids.end(),
                                     [&](const PidRecord& r) { return r.pid == c.pid; });
    ASSERT_NE(record, channel->m_vPids.end());
    EXPECT_EQ(record->stream_type, c.streamType);
    EXPECT_EQ(record->classification, c.classification);
    EXPECT_EQ(record->codec, c.codec);
    // Every video here is H.264 or HEVC except the MPEG-2 of Rai 1.
    if (c.classification == PsiRenderer_StreamType_Video) {
      EXPECT_EQ(channel->m_nVideoStreamType, c.codec == StreamCodec::Mpeg2Video ? 1 : 2);
    }
    const auto audio = std::find_if(channel->m_vAudio.begin(), channel->m_vAudio.end(),
                                    [&](const AudioRecord& a) { return a.pid == c.pid; });
    ASSERT_EQ(audio != channel->m_vAudio.end(), c.language != nullptr);
    if (!c.language) continue;
    EXPECT_EQ(Language(audio->language), c.language);
    EXPECT_EQ(audio->type, c.streamType);
    EXPECT_EQ(audio->ac3, c.ac3);
  }
}

// Sections that start mid-packet and share packets give the same list as
// sections that each start a packet.
TEST(AnalyzerStreamsTest, Test092PlainAndPackedGiveTheSameChannelsWithTerrestrialDelivery) {
  REQUIRE_SHARED_FILE(plainPath, "test-092.sections.ts");
  REQUIRE_SHARED_FILE(packedPath, "test-092.sections.packed.ts");
  const TransportStreamAnalysis plain = AnalyzeTransportStreamFile(plainPath.string(), false);
  const TransportStreamAnalysis packed = AnalyzeTransportStreamFile(packedPath.string(), false);
  ASSERT_TRUE(plain.error.empty()) << plain.error;
  ASSERT_TRUE(packed.error.empty()) << packed.error;
  EXPECT_EQ(plain.networkType, PsiRenderer_NetworkType_Dvbt);

  const int programs[] = {257, 260, 261, 262, 273, 368};
  const char* names[] = {"France 2", "France 4", "France Ô", "franceinfo:", "F3 Paris Ile-de-France", "BFM Paris"};
  ASSERT_EQ(plain.channels->Size(), std::size(programs));
  ASSERT_EQ(packed.channels->Size(), std::size(programs));
  for (size_t i = 0; i < std::size(programs); ++i) {
    const auto a = plain.channels->GetChannel(i);
    const auto b = packed.channels->GetChannel(i);
    SCOPED_TRACE(programs[i]);
    EXPECT_EQ(a->m_nProgramNumber, programs[i]);
    EXPECT_EQ(b->m_nProgramNumber, programs[i]);
    EXPECT_EQ(a->m_nNetworkId, 8442);
    EXPECT_EQ(Name(a->m_bstrNetworkName), "F");
    // centre_frequency 0xFFFFFFFF as carried, 8 MHz.
    EXPECT_EQ(static_cast<uint32_t>(a->m_nCarrierFrequency), 0xFFFFFFFFu);
    EXPECT_EQ(a->m_nBandwidth, 8);
    EXPECT_EQ(a->m_nSymbolRate, 0);
    EXPECT_EQ(a->m_nOrbitalPosition, 0);
    EXPECT_EQ(a->m_nVideoStreamType, 2);
    EXPECT_EQ(a->m_nCa, 0);
    EXPECT_EQ(Name(b->m_bstrNetworkName), Name(a->m_bstrNetworkName));
    EXPECT_EQ(b->m_nCarrierFrequency, a->m_nCarrierFrequency);
    EXPECT_EQ(b->m_nBandwidth, a->m_nBandwidth);
    EXPECT_EQ(b->m_nPcrPid, a->m_nPcrPid);
    EXPECT_EQ(b->m_nServiceType, a->m_nServiceType);
    EXPECT_EQ(b->m_nOriginalNetworkId, a->m_nOriginalNetworkId);
    ASSERT_EQ(b->m_vPids.size(), a->m_vPids.size());
    for (size_t p = 0; p < a->m_vPids.size(); ++p) {
      EXPECT_EQ(b->m_vPids[p].pid, a->m_vPids[p].pid);
      EXPECT_EQ(b->m_vPids[p].classification, a->m_vPids[p].classification);
    }
    ASSERT_EQ(b->m_vAudio.size(), a->m_vAudio.size());
    for (size_t p = 0; p < a->m_vAudio.size(); ++p) {
      EXPECT_EQ(b->m_vAudio[p].pid, a->m_vAudio[p].pid);
      EXPECT_EQ(b->m_vAudio[p].language, a->m_vAudio[p].language);
      EXPECT_EQ(b->m_vAudio[p].ac3, a->m_vAudio[p].ac3);
    }
    EXPECT_EQ(b->m_vSubtitles.size(), a->m_vSubtitles.size());
    EXPECT_EQ(b->m_vTeletext.size(), a->m_vTeletext.size());
  }
  // Program 257 "France 2" by name: all six names resolved.
  for (size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(Name(plain.channels->GetChannel(i)->m_bstrServiceName), names[i]);

  // Every terrestrial descriptor of this NIT says "frequency not given"
  // (all ones): no transponder comes of it, and no channel takes it.
  EXPECT_EQ(plain.frequencies->Size(), 0u);
  EXPECT_EQ(packed.frequencies->Size(), 0u);
  for (size_t i = 0; i < plain.channels->Size(); ++i) EXPECT_EQ(plain.channels->GetChannel(i)->m_nCarrierFrequency, -1);
}

TEST(AnalyzerStreamsTest, Test002CompletesItsThreeSectionSdt) {
  REQUIRE_SHARED_FILE(path, "test-002.sections.ts");
  const TransportStreamAnalysis result = AnalyzeTransportStreamFile(path.string(), false);
  ASSERT_TRUE(result.error.empty()) << result.error;
  EXPECT_TRUE(result.sdtComplete);
  ASSERT_EQ(result.channels->Size(), 18u);
  // One name from each of the three sections.
  const std::pair<uint16_t, const char*> names[] = {
      {11607, "Primafila 15"}, {11611, "Sky Sport Plus"}, {11621, "Primafila 1"}, {1413, "LEI +1"}};
  for (const auto& [program, name] : names) {
    const auto channel = result.channels->FindByProgramNumber(program);
    ASSERT_NE(channel, nullptr) << program;
    EXPECT_EQ(Name(channel->m_bstrServiceName), name);
    EXPECT_EQ(Name(channel->m_bstrServiceProvider), "SkyItalia");
    EXPECT_EQ(channel->m_nOriginalNetworkId, 64511);
    // free_CA_mode 1 and a complete CAT.
    EXPECT_EQ(channel->m_nCa, 1);
  }
  EXPECT_EQ(result.channels->CatSeen(), 1);
  // 11624 is a time-shifted service without a service descriptor: described, but nameless.
  for (size_t i = 0; i < result.channels->Size(); ++i) {
    const auto channel = result.channels->GetChannel(i);
    EXPECT_EQ(channel->m_nServiceId, channel->m_nProgramNumber);
    EXPECT_EQ(channel->m_bstrServiceName.View().empty(), channel->m_nProgramNumber == 11624) << i;
  }
}

TEST(AnalyzerStreamsTest, Test040GivesAtscChannelsFromTheVct) {
  REQUIRE_SHARED_FILE(path, "test-040.sections.ts");
  const TransportStreamAnalysis result = AnalyzeTransportStreamFile(path.string(), true);
  ASSERT_TRUE(result.error.empty()) << result.error;
  EXPECT_TRUE(result.vctComplete);
  EXPECT_TRUE(result.pmtComplete);
  const struct {
    int program;
    const char* name;
    int minor;
    int sourceId;
    int pmtPid;
  } expected[] = {{3, "KULX   ", 1, 1, 0x30}, {4, "TelXito", 2, 2, 0x40}, {5, "LightTV", 3, 3, 0x50}, {6, "Quest  ", 4, 4, 0x60}};
  ASSERT_EQ(result.channels->Size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto channel = result.channels->GetChannel(i);
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(channel->m_nProgramNumber, expected[i].program);
    EXPECT_EQ(Name(channel->m_bstrServiceName), expected[i].name);
    EXPECT_EQ(channel->m_nMajorChannelNumber, 10);
    EXPECT_EQ(channel->m_nMinorChannelNumber, expected[i].minor);
    EXPECT_EQ(channel->m_nSourceId, expected[i].sourceId);
    EXPECT_EQ(channel->m_nChannelTsId, 8161);
    EXPECT_EQ(channel->m_nServiceType, 2);
    EXPECT_EQ(channel->m_nCarrierFrequency, 0);
    EXPECT_EQ(channel->m_nCa, 0);  // access_controlled: no
    EXPECT_EQ(channel->m_nPmtPid, expected[i].pmtPid);
    // ATSC: no PMT PID record.
    ASSERT_FALSE(channel->m_vPids.empty());
    EXPECT_NE(channel->m_vPids.back().classification, PsiRenderer_StreamType_Pmt);
  }
  // Program 3: AC-3 audio named in English.
  const auto kulx = result.channels->GetChannel(0);
  ASSERT_EQ(kulx->m_vAudio.size(), 1u);
  EXPECT_EQ(kulx->m_vAudio[0].pid, 0x34);
  EXPECT_EQ(kulx->m_vAudio[0].ac3, 1);
  EXPECT_EQ(kulx->m_vAudio[0].type, 0x81);
  EXPECT_EQ(Language(kulx->m_vAudio[0].language), "eng");
  EXPECT_EQ(kulx->m_nPcrPid, 0x31);
  EXPECT_EQ(result.frequencies->Size(), 0u);
}

// Only two of the twenty PMTs are in the capture: all twenty channels are
// named, two of them carry their streams.
TEST(AnalyzerStreamsTest, Test018NamesAllTwentyChannelsWithTwoPmts) {
  REQUIRE_SHARED_FILE(path, "test-018.ts");
  const TransportStreamAnalysis result = AnalyzeTransportStreamFile(path.string(), false);
  ASSERT_TRUE(result.error.empty()) << result.error;
  EXPECT_FALSE(result.pmtComplete);
  ASSERT_EQ(result.channels->Size(), 20u);
  int withStreams = 0;
  for (size_t i = 0; i < 20; ++i) {
    const auto channel = result.channels->GetChannel(i);
    EXPECT_FALSE(channel->m_bstrServiceName.View().empty()) << i;
    EXPECT_EQ(channel->m_nTransportStreamId, 6000);
    if (!channel->m_vPids.empty()) ++withStreams;
  }
  EXPECT_EQ(withStreams, 2);
  const auto italia1 = result.channels->GetChannel(0);
  EXPECT_EQ(Name(italia1->m_bstrServiceName), "Italia 1");
  EXPECT_EQ(italia1->m_nPcrPid, 0x654);
  EXPECT_EQ(Name(result.channels->GetChannel(19)->m_bstrServiceName), "Infinity");
  const auto rete4 = result.channels->FindByProgramNumber(3);
  EXPECT_EQ(rete4->m_nPcrPid, -1);
  EXPECT_TRUE(rete4->m_vPids.empty());
  EXPECT_EQ(rete4->m_nPmtPid, 0x102);
}

TEST(AnalyzerInputTest, BadInputGivesAClearError) {
  const TransportStreamAnalysis missing = AnalyzeTransportStreamFile("/nonexistent/file.ts", false);
  EXPECT_NE(missing.error.find("cannot open /nonexistent/file.ts"), std::string::npos) << missing.error;

  const std::vector<uint8_t> text(4000, 'x');
  EXPECT_NE(CTransportStreamAnalyzer(false).Analyze(text).error.find("not a transport stream"), std::string::npos);
  EXPECT_NE(CTransportStreamAnalyzer(false).Analyze({}).error.find("not a transport stream"), std::string::npos);

  // Null packets only: a transport stream without a PAT.
  std::vector<uint8_t> nulls;
  for (int i = 0; i < 10; ++i) {
    const uint8_t header[] = {0x47, 0x1F, 0xFF, 0x10};
    nulls.insert(nulls.end(), header, header + 4);
    nulls.resize(nulls.size() + 184, 0xFF);
  }
  EXPECT_NE(CTransportStreamAnalyzer(false).Analyze(nulls).error.find("no complete PAT"), std::string::npos);
}

// Lost sync in a real capture: bytes cut out and junk put in mid-stream cost
// the packets around them, not the channels (the tables come again).
TEST(AnalyzerInputTest, BytesDeletedAndInsertedMidStreamLeaveTheChannels) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const std::vector<uint8_t> clean = ReadAll(path);
  const auto channelsOf = [](const TransportStreamAnalysis& result) {
    std::vector<std::pair<int, std::string>> channels;
    for (size_t i = 0; i < result.channels->Size(); ++i)
      channels.emplace_back(result.channels->GetChannel(i)->m_nProgramNumber,
                            Name(result.channels->GetChannel(i)->m_bstrServiceName));
    return channels;
  };
  const TransportStreamAnalysis reference = CTransportStreamAnalyzer(false).Analyze(clean);
  ASSERT_TRUE(reference.error.empty()) << reference.error;

  std::vector<uint8_t> damaged = clean;
  const size_t third = damaged.size() / 3 / 188 * 188;
  damaged.erase(damaged.begin() + third + 50, damaged.begin() + third + 50 + 1000);  // a cut
  const std::vector<uint8_t> junk = {0x47, 0x47, 0x00, 0x47, 0x12, 0x34, 0x47};
  damaged.insert(damaged.begin() + 2 * third + 7, junk.begin(), junk.end());  // an insertion with false syncs
  damaged.resize(damaged.size() / 188 * 188);
  const TransportStreamAnalysis result = CTransportStreamAnalyzer(false).Analyze(damaged);
  EXPECT_LT(result.packets, reference.packets);
  EXPECT_EQ(channelsOf(result), channelsOf(reference));
  EXPECT_EQ(result.pmtComplete, reference.pmtComplete);
  EXPECT_EQ(result.sdtComplete, reference.sdtComplete);
}

// The text items of consecutive extended event descriptors are one text:
// no line break in the middle of a word.
TEST(AnalyzerEpgTest, ExtendedEventTextsAreJoinedAsTheyAre) {
  REQUIRE_SHARED_FILE(path, "test-030.ts");
  const auto events = CTransportStreamEpgReader(false).Read(ReadAll(path));
  bool found = false;
  for (const auto& [key, entry] : events->Entries()) {
    const std::string text = BStr(entry.event.m_bstrText).Utf8();
    EXPECT_EQ(text.find("d'an\r\nn"), std::string::npos);
    if (text.find("un gar\xC3\xA7on d'une dizaine d'ann\xC3\xA9\x65s dans les bois") != std::string::npos) found = true;
  }
  EXPECT_TRUE(found);
}

// A recording cut inside its last packet still has all its tables.
TEST(AnalyzerInputTest, CutStreamKeepsItsChannels) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  std::vector<uint8_t> bytes = ReadAll(path);
  const TransportStreamAnalysis clean = CTransportStreamAnalyzer(false).Analyze(bytes);
  bytes.resize(bytes.size() - 100);
  const TransportStreamAnalysis result = CTransportStreamAnalyzer(false).Analyze(bytes);
  EXPECT_TRUE(result.error.empty()) << result.error;
  EXPECT_EQ(result.trailingBytes, 88u);
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("the stream ends inside a packet"), std::string::npos) << result.warnings[0];
  ASSERT_EQ(result.channels->Size(), clean.channels->Size());
  for (size_t i = 0; i < clean.channels->Size(); ++i)
    EXPECT_EQ(Name(result.channels->GetChannel(i)->m_bstrServiceName),
              Name(clean.channels->GetChannel(i)->m_bstrServiceName));
}

// With the SDT lost, no table tells whether a service is scrambled: a CAT
// alone does not make every channel a pay channel.
TEST(AnalyzerInputTest, CaStateStaysUnknownWithoutSdt) {
  REQUIRE_SHARED_FILE(path, "test-103.ts");
  const std::vector<uint8_t> bytes = ReadAll(path);
  std::vector<uint8_t> withoutSdt;
  for (size_t i = 0; i + 188 <= bytes.size(); i += 188) {
    const uint16_t pid = static_cast<uint16_t>(((bytes[i + 1] & 0x1F) << 8) | bytes[i + 2]);
    if (pid != 0x0011) withoutSdt.insert(withoutSdt.end(), bytes.begin() + i, bytes.begin() + i + 188);
  }
  const TransportStreamAnalysis result = CTransportStreamAnalyzer(false).Analyze(withoutSdt);
  ASSERT_TRUE(result.error.empty()) << result.error;
  ASSERT_EQ(result.channels->CatSeen(), 1);
  EXPECT_FALSE(result.sdtComplete);
  ASSERT_NE(result.channels->Size(), 0u);
  for (size_t i = 0; i < result.channels->Size(); ++i) EXPECT_EQ(result.channels->GetChannel(i)->m_nCa, -1) << i;
}

// A recording that shrinks while it is read (a player trimming it, a
// failing network share): the analysis reads what there is, it never crashes.
class ShrinkingFile : public CInputFile {
 public:
  ShrinkingFile(std::string path, off_t size) : m_path(std::move(path)), m_nSize(size) {}
  size_t Read(std::span<uint8_t> buffer) override {
    const size_t got = CInputFile::Read(buffer);
    if (m_nSize >= 0 && ::truncate(m_path.c_str(), m_nSize) == 0) m_nSize = -1;
    return got;
  }

 private:
  std::string m_path;
  off_t m_nSize;
};

TEST(AnalyzerInputTest, FileShrinkingWhileReadGivesItsChannels) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const std::vector<uint8_t> bytes = ReadAll(path);
  const TransportStreamAnalysis clean = CTransportStreamAnalyzer(false).Analyze(bytes);
  TempDir dir;
  const std::string copy = dir.Write("shrinking.ts", std::string(bytes.begin(), bytes.end()));
  const off_t left = 2000000;  // inside a packet
  ShrinkingFile file(copy, left);
  ASSERT_TRUE(file.Open(copy)) << file.Error();
  CTsPacketReader packets(file);
  const TransportStreamAnalysis result = AnalyzeRecording(packets, false, false).channels;
  EXPECT_TRUE(result.error.empty()) << result.error;
  EXPECT_EQ(result.trailingBytes, left % 188);
  EXPECT_EQ(result.packets, static_cast<uint64_t>(left / 188));
  ASSERT_EQ(result.channels->Size(), clean.channels->Size());
  for (size_t i = 0; i < clean.channels->Size(); ++i)
    EXPECT_EQ(Name(result.channels->GetChannel(i)->m_bstrServiceName),
              Name(clean.channels->GetChannel(i)->m_bstrServiceName));
}

}  // namespace
