// The rules of the channel processors on hand-built sections.
#include <gtest/gtest.h>

#include "DSFilters/PsiRenderer/engine/PsiProcessorCat.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorNit.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPat.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtAtsc.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtDvb.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorSdt.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorVct.h"
#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::Descriptor;

namespace {

uint8_t Hi(size_t value, uint8_t reserved) { return static_cast<uint8_t>(reserved | ((value >> 8) & 0x0F)); }
uint8_t Lo(size_t value) { return static_cast<uint8_t>(value & 0xFF); }

Bytes Section(uint8_t tableId, uint16_t extension, const Bytes& body) {
  psitest::SectionSpec spec;
  spec.tableId = tableId;
  spec.extension = extension;
  spec.body = body;
  return psitest::BuildSection(spec);
}

struct Program {
  uint16_t number;
  uint16_t pid;
};

Bytes Pat(uint16_t tsId, std::initializer_list<Program> programs) {
  Bytes body;
  for (const Program& p : programs) body.insert(body.end(), {Lo(p.number >> 8), Lo(p.number), Hi(p.pid, 0xE0), Lo(p.pid)});
  return Section(0x00, tsId, body);
}

struct Stream {
  uint8_t type;
  uint16_t pid;
  Bytes descriptors;
};

Bytes Pmt(uint16_t program, std::initializer_list<Stream> streams) {
  Bytes body = {0xE1, 0x00, 0xF0, 0x00};  // PCR PID 0x100, no program descriptors
  for (const Stream& s : streams) {
    body.insert(body.end(), {s.type, Hi(s.pid, 0xE0), Lo(s.pid), Hi(s.descriptors.size(), 0xF0), Lo(s.descriptors.size())});
    body.insert(body.end(), s.descriptors.begin(), s.descriptors.end());
  }
  return Section(0x02, program, body);
}

struct Fixture {
  std::shared_ptr<CChannels> channels = std::make_shared<CChannels>();
  std::shared_ptr<CTransponderFrequencies> frequencies = std::make_shared<CTransponderFrequencies>();

  void Feed(CPsiProcessorBase& processor, const Bytes& section, uint16_t pid) {
    EXPECT_EQ(processor.ProcessSection(section.data(), static_cast<uint32_t>(section.size()), pid, section[0]), 1);
  }
  // A PAT of programs 1 (PMT PID 0x20) and 2 (0x21) of transport stream 7.
  void MakeChannels() {
    CPsiProcessorPat pat(channels, PsiRenderer_NetworkType_Dvbt);
    Feed(pat, Pat(7, {{1, 0x20}, {2, 0x21}}), 0);
  }
  std::shared_ptr<CChannel> EvaluatePmt(CPsiProcessorPmt& pmt, const Bytes& section) {
    MakeChannels();
    pmt.SetPrograms({1, 2});
    Feed(pmt, section, 0x20);
    return Channel(0);
  }
  // The channel at index; when a refused section left none, the case fails
  // on an empty channel instead of crashing the test program.
  std::shared_ptr<CChannel> Channel(size_t index) {
    if (auto channel = channels->GetChannel(index)) return channel;
    ADD_FAILURE() << "no channel at " << index;
    return std::make_shared<CChannel>();
  }
};

const Bytes kIsoIta = Descriptor(0x0A, {'i', 't', 'a', 0x01});
const Bytes kTeletext = Descriptor(0x56, {'d', 'e', 'u', 0x11, 0x00});
const Bytes kSubtitles = Descriptor(0x59, {'e', 'n', 'g', 0x10, 0x00, 0x01, 0x00, 0x02});

TEST(PsiProcessorPatTest, CreatesOneChannelPerProgramAndSkipsProgramZero) {
  Fixture f;
  CPsiProcessorPat pat(f.channels, PsiRenderer_NetworkType_Dvbt);
  f.Feed(pat, Pat(7, {{0, 0x10}, {1, 0x20}, {2, 0x21}}), 0);
  EXPECT_EQ(pat.IsComplete(), 1);
  ASSERT_EQ(f.channels->Size(), 2u);
  EXPECT_EQ(f.Channel(0)->m_nOrdinal, 1);
  EXPECT_EQ(f.Channel(1)->m_nOrdinal, 2);
  EXPECT_EQ(f.Channel(1)->m_nPmtPid, 0x21);
  EXPECT_EQ(f.Channel(1)->m_nTransportStreamId, 7);
  EXPECT_EQ(pat.PmtPids(), (std::vector<uint16_t>{0x20, 0x21}));
  EXPECT_EQ(pat.ProgramNumbers(), (std::vector<uint16_t>{1, 2}));
  // A complete table is evaluated once.
  f.Feed(pat, Pat(7, {{3, 0x22}}), 0);
  EXPECT_EQ(f.channels->Size(), 2u);
  pat.Reset();
  EXPECT_TRUE(pat.PmtPids().empty());
}

// One elementary stream in a PMT: its classification, coding and audio record.
struct ClassificationCase {
  const char* what;
  Stream stream;
  PsiRenderer_StreamType expected;
  StreamCodec codec;
  int ac3;  // -1: no audio record
};

void ExpectClassification(const ClassificationCase& c, const std::shared_ptr<CChannel>& channel, size_t records) {
  ASSERT_EQ(channel->m_vPids.size(), records);
  EXPECT_EQ(channel->m_vPids[0].classification, c.expected);
  EXPECT_EQ(channel->m_vPids[0].codec, c.codec);
  EXPECT_EQ(channel->m_vPids[0].stream_type, c.stream.type);
  if (c.ac3 < 0) {
    EXPECT_TRUE(channel->m_vAudio.empty());
  } else {
    ASSERT_EQ(channel->m_vAudio.size(), 1u);
    EXPECT_EQ(channel->m_vAudio[0].ac3, c.ac3);
    EXPECT_EQ(channel->m_vAudio[0].type, c.stream.type);
  }
}

const Bytes kEnhancedAc3 = Descriptor(0x7A, {0x80, 0xC2});  // component_type present
const Bytes kAac = Descriptor(0x7C, {0x58});                // HE-AAC profile and level, no type

TEST(PsiProcessorPmtDvbTest, ClassifiesEachStreamByTheFirstMatchingRule) {
  const ClassificationCase cases[] = {
      {"MPEG-1 video", {0x01, 0x30, {}}, PsiRenderer_StreamType_Video, StreamCodec::Mpeg1Video, -1},
      {"MPEG-2 video", {0x02, 0x30, {}}, PsiRenderer_StreamType_Video, StreamCodec::Mpeg2Video, -1},
      {"MPEG-1 audio with AC-3 descriptor", {0x03, 0x30, Descriptor(0x6A, {0x00})}, PsiRenderer_StreamType_Audio,
       StreamCodec::Ac3, 1},
      {"MPEG-2 audio with E-AC-3 descriptor", {0x04, 0x30, kEnhancedAc3}, PsiRenderer_StreamType_Audio,
       StreamCodec::EAc3, 1},
      {"MPEG-2 audio", {0x04, 0x30, {}}, PsiRenderer_StreamType_Audio, StreamCodec::MpegAudio, 0},
      {"H.264", {0x1B, 0x30, {}}, PsiRenderer_StreamType_Video, StreamCodec::H264, -1},
      {"HEVC", {0x24, 0x30, {}}, PsiRenderer_StreamType_Video, StreamCodec::Hevc, -1},
      {"AAC in ADTS", {0x0F, 0x30, {}}, PsiRenderer_StreamType_Audio, StreamCodec::Aac, 0},
      {"HE-AAC in LATM", {0x11, 0x30, kAac}, PsiRenderer_StreamType_Audio, StreamCodec::Aac, 0},
      {"stream type 0x81", {0x81, 0x30, {}}, PsiRenderer_StreamType_Audio, StreamCodec::Ac3, 1},
      {"private with audio descriptor", {0x06, 0x30, Descriptor(0x03, {0x00})}, PsiRenderer_StreamType_Audio,
       StreamCodec::MpegAudio, 0},
      {"private with AC-3 descriptor", {0x06, 0x30, Descriptor(0x6A, {0x00})}, PsiRenderer_StreamType_Audio,
       StreamCodec::Ac3, 1},
      {"private with E-AC-3 descriptor", {0x06, 0x30, kEnhancedAc3}, PsiRenderer_StreamType_Audio, StreamCodec::EAc3,
       1},
      {"private with AAC descriptor", {0x06, 0x30, kAac}, PsiRenderer_StreamType_Audio, StreamCodec::Aac, 0},
      {"private with MPEG-4 audio descriptor", {0x06, 0x30, Descriptor(0x1C, {0x00})}, PsiRenderer_StreamType_Audio,
       StreamCodec::Aac, 0},
      {"private with video descriptor", {0x06, 0x30, Descriptor(0x02, {0x00})}, PsiRenderer_StreamType_Video,
       StreamCodec::Mpeg2Video, -1},
      {"private with teletext", {0x06, 0x30, kTeletext}, PsiRenderer_StreamType_Teletext, StreamCodec::Unknown, -1},
      {"private with AVC descriptor", {0x06, 0x30, Descriptor(0x28, {0, 0, 0, 0})}, PsiRenderer_StreamType_Video,
       StreamCodec::H264, -1},
      {"private with subtitles only", {0x06, 0x30, kSubtitles}, PsiRenderer_StreamType_Unknown, StreamCodec::Unknown,
       -1},
      // 0x87 is E-AC-3 in ATSC only; DVB leaves user-private types alone.
      {"stream type 0x87", {0x87, 0x30, {}}, PsiRenderer_StreamType_Unknown, StreamCodec::Unknown, -1},
  };
  for (const ClassificationCase& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    CPsiProcessorPmtDvb pmt(f.channels, PsiRenderer_NetworkType_Dvbt);
    const auto channel = f.EvaluatePmt(pmt, Pmt(1, {c.stream}));
    EXPECT_EQ(channel->m_nPcrPid, 0x100);
    // One record per stream plus the PMT PID.
    ExpectClassification(c, channel, 2);
    EXPECT_EQ(channel->m_vPids[1].pid, 0x20);
    EXPECT_EQ(channel->m_vPids[1].stream_type, 0);
    EXPECT_EQ(channel->m_vPids[1].classification, PsiRenderer_StreamType_Pmt);
  }
}

TEST(PsiProcessorPmtAtscTest, ClassifiesEachStreamByTheFirstMatchingRule) {
  const ClassificationCase cases[] = {
      {"MPEG-2 video", {0x02, 0x30, {}}, PsiRenderer_StreamType_Video, StreamCodec::Mpeg2Video, -1},
      {"H.264", {0x1B, 0x30, {}}, PsiRenderer_StreamType_Video, StreamCodec::H264, -1},
      {"HEVC", {0x24, 0x30, {}}, PsiRenderer_StreamType_Video, StreamCodec::Hevc, -1},
      {"MPEG-1 audio with AC-3 descriptor", {0x03, 0x30, Descriptor(0x81, {0x08, 0x38, 0x0F, 0x00, 0x00})},
       PsiRenderer_StreamType_Audio, StreamCodec::MpegAudio, 0},
      {"AAC in ADTS", {0x0F, 0x30, {}}, PsiRenderer_StreamType_Audio, StreamCodec::Aac, 0},
      {"AC-3", {0x81, 0x30, {}}, PsiRenderer_StreamType_Audio, StreamCodec::Ac3, 1},
      {"E-AC-3", {0x87, 0x30, {}}, PsiRenderer_StreamType_Audio, StreamCodec::EAc3, 1},
      {"private with AC-3 descriptor", {0x06, 0x30, Descriptor(0x81, {0x08, 0x38, 0x0F, 0x00, 0x00})},
       PsiRenderer_StreamType_Audio, StreamCodec::Ac3, 1},
      {"private with audio descriptor", {0x06, 0x30, Descriptor(0x03, {0x00})}, PsiRenderer_StreamType_Audio,
       StreamCodec::MpegAudio, 0},
      // The DVB descriptors mean nothing in an ATSC PMT.
      {"private with E-AC-3 descriptor", {0x06, 0x30, kEnhancedAc3}, PsiRenderer_StreamType_Unknown,
       StreamCodec::Unknown, -1},
  };
  for (const ClassificationCase& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    CPsiProcessorPmtAtsc pmt(f.channels, PsiRenderer_NetworkType_Atsc);
    const auto channel = f.EvaluatePmt(pmt, Pmt(1, {c.stream}));
    ExpectClassification(c, channel, 1);
    EXPECT_EQ(channel->m_nVideoStreamType, 0);
  }
}

TEST(PsiProcessorPmtDvbTest, ProgramWideMpeg4FlagDecidesTheVideoType) {
  struct Case {
    std::initializer_list<Stream> streams;
    int videoType;
  };
  const Case cases[] = {
      {{{0x02, 0x30, {}}}, 1},
      {{{0x02, 0x30, {}}, {0x1B, 0x31, {}}}, 2},
      // The flag stays set for the MPEG-2 stream that follows.
      {{{0x1B, 0x30, {}}, {0x02, 0x31, {}}}, 2},
      // An AVC descriptor on a non-video stream makes later MPEG-2 video MPEG-4.
      {{{0x06, 0x31, Descriptor(0x1B, {0x00})}, {0x02, 0x30, {}}}, 2},
      {{{0x04, 0x30, {}}}, 0},
      // HEVC counts as advanced video, as H.264 does.
      {{{0x24, 0x30, {}}}, 2},
      {{{0x24, 0x30, {}}, {0x02, 0x31, {}}}, 2},
  };
  for (const Case& c : cases) {
    Fixture f;
    CPsiProcessorPmtDvb pmt(f.channels, PsiRenderer_NetworkType_Dvbt);
    EXPECT_EQ(f.EvaluatePmt(pmt, Pmt(1, c.streams))->m_nVideoStreamType, c.videoType);
  }
}

TEST(PsiProcessorPmtDvbTest, AudioRecordsInAscendingPidOrderWithLanguages) {
  Fixture f;
  CPsiProcessorPmtDvb pmt(f.channels, PsiRenderer_NetworkType_Dvbt);
  const auto channel = f.EvaluatePmt(
      pmt, Pmt(1, {{0x04, 0x300, Descriptor(0x0A, {'e', 'n', 'g', 0x00})},
                   {0x06, 0x250, Concat({kTeletext, kIsoIta})},
                   {0x03, 0x100, kIsoIta},
                   {0x06, 0x200, Concat({kSubtitles, kSubtitles})}}));
  ASSERT_EQ(channel->m_vAudio.size(), 3u);
  EXPECT_EQ(channel->m_vAudio[0].pid, 0x100);
  EXPECT_EQ(channel->m_vAudio[0].type, 0x03);  // stream type replaces the audio_type
  EXPECT_EQ(channel->m_vAudio[0].language, (LanguageChars{'i', 't', 'a'}));
  // The teletext stream's language entry stays, with its audio_type.
  EXPECT_EQ(channel->m_vAudio[1].pid, 0x250);
  EXPECT_EQ(channel->m_vAudio[1].type, 0x01);
  EXPECT_EQ(channel->m_vAudio[2].pid, 0x300);
  EXPECT_EQ(channel->m_vAudio[2].language, (LanguageChars{'e', 'n', 'g'}));
  ASSERT_EQ(channel->m_vTeletext.size(), 1u);
  EXPECT_EQ(channel->m_vTeletext[0].magazine_number, 1);
  EXPECT_EQ(channel->m_vTeletext[0].teletext_type, 2);
  ASSERT_EQ(channel->m_vSubtitles.size(), 2u);
  EXPECT_EQ(channel->m_vSubtitles[1].pid, 0x200);
  EXPECT_EQ(channel->m_vSubtitles[1].composition_page_id, 1);
  EXPECT_EQ(channel->m_vSubtitles[1].ancillary_page_id, 2);
}

TEST(PsiProcessorPmtTest, RegistrationCompletenessAndRefusals) {
  Fixture f;
  CPsiProcessorPmtDvb pmt(f.channels, PsiRenderer_NetworkType_Dvbt);
  f.MakeChannels();
  EXPECT_EQ(pmt.IsComplete(), 0);  // nothing registered
  const Bytes unregistered = Pmt(1, {{0x02, 0x30, {}}});
  EXPECT_EQ(pmt.ProcessSection(unregistered.data(), unregistered.size(), 0x20, 0x02), 0);
  pmt.SetPrograms({1, 2});
  f.Feed(pmt, Pmt(1, {{0x02, 0x30, {}}}), 0x20);
  EXPECT_EQ(pmt.IsComplete(), 0);
  f.Feed(pmt, Pmt(2, {{0x02, 0x31, {}}}), 0x21);
  EXPECT_EQ(pmt.IsComplete(), 1);
  // Evaluated once: a repeat adds nothing.
  f.Feed(pmt, Pmt(1, {{0x02, 0x30, {}}}), 0x20);
  EXPECT_EQ(f.Channel(0)->m_vPids.size(), 2u);
  // The CRC was checked where the section was assembled; a processor refuses a broken header.
  const Bytes whole = Pmt(2, {});
  const Bytes truncated(whole.begin(), whole.end() - 1);
  pmt.SetPrograms({2});
  EXPECT_EQ(pmt.ProcessSection(truncated.data(), truncated.size(), 0x21, 0x02), 0);
}

TEST(PsiProcessorPmtAtscTest, AtscAudioAndOneRecordPerStream) {
  Fixture f;
  CPsiProcessorPmtAtsc pmt(f.channels, PsiRenderer_NetworkType_Atsc);
  // Component name "spa" (one string, one uncompressed segment "x").
  const Bytes componentName = Descriptor(0xA3, {0x01, 's', 'p', 'a', 0x01, 0x00, 0x00, 0x01, 'x'});
  const Bytes ac3 = Descriptor(0x81, {0x08, 0x38, 0x0F, 0x00, 0x00});
  const auto channel = f.EvaluatePmt(pmt, Pmt(1, {{0x02, 0x31, {}},
                                                  {0x06, 0x35, Concat({componentName, ac3})},
                                                  {0x81, 0x34, {}},
                                                  {0x06, 0x36, Descriptor(0x03, {0x00})}}));
  ASSERT_EQ(channel->m_vPids.size(), 4u);  // no PMT PID record
  EXPECT_EQ(channel->m_vPids[0].classification, PsiRenderer_StreamType_Video);
  EXPECT_EQ(channel->m_vPids[1].classification, PsiRenderer_StreamType_Audio);
  EXPECT_EQ(channel->m_vPids[3].classification, PsiRenderer_StreamType_Audio);
  EXPECT_EQ(channel->m_nVideoStreamType, 0);
  ASSERT_EQ(channel->m_vAudio.size(), 3u);
  EXPECT_EQ(channel->m_vAudio[0].pid, 0x34);
  EXPECT_EQ(channel->m_vAudio[0].ac3, 1);
  EXPECT_EQ(channel->m_vAudio[1].pid, 0x35);
  EXPECT_EQ(channel->m_vAudio[1].ac3, 1);  // from the AC-3 audio descriptor
  EXPECT_EQ(channel->m_vAudio[1].language, (LanguageChars{'s', 'p', 'a'}));
  EXPECT_EQ(channel->m_vAudio[2].ac3, 0);
}

Bytes ServiceDescriptor(uint8_t type, const std::string& provider, const std::string& name) {
  Bytes body = {type, Lo(provider.size())};
  body.insert(body.end(), provider.begin(), provider.end());
  body.push_back(Lo(name.size()));
  body.insert(body.end(), name.begin(), name.end());
  return Descriptor(0x48, body);
}

Bytes Sdt(uint16_t tsId, uint16_t onid, uint16_t serviceId, uint8_t freeCa, const Bytes& descriptors) {
  const uint16_t flags = static_cast<uint16_t>((4 << 13) | (freeCa << 12) | descriptors.size());
  Bytes body = {Lo(onid >> 8), Lo(onid), 0xFF, Lo(serviceId >> 8), Lo(serviceId), 0xFC, Lo(flags >> 8), Lo(flags)};
  body.insert(body.end(), descriptors.begin(), descriptors.end());
  return Section(0x42, tsId, body);
}

TEST(PsiProcessorSdtTest, NamesMatchingServicesOfMatchingTransportStreams) {
  Fixture f;
  f.MakeChannels();
  CPsiProcessorSdt sdt(f.channels, PsiRenderer_NetworkType_Dvbt);
  f.Feed(sdt, Sdt(7, 318, 2, 1, Concat({ServiceDescriptor(0x1F, "Prov", "Two"), Descriptor(0x53, {0x01, 0x00})})),
         0x11);
  const auto one = f.Channel(0);
  const auto two = f.Channel(1);
  EXPECT_EQ(two->m_bstrServiceName.Utf8(), "Two");
  EXPECT_EQ(two->m_bstrServiceProvider.Utf8(), "Prov");
  EXPECT_EQ(two->m_nServiceType, 0x1F);
  EXPECT_EQ(two->m_nServiceId, 2);
  EXPECT_EQ(two->m_nRunningStatus, 4);
  EXPECT_EQ(two->m_nCa, 1);
  EXPECT_EQ(one->m_nOriginalNetworkId, 318);  // same transport stream, no service entry
  EXPECT_EQ(one->m_nServiceId, -1);
  EXPECT_EQ(one->m_nCa, -1);

  // Another transport stream, and a service that matches no program: nothing changes.
  Fixture g;
  g.MakeChannels();
  CPsiProcessorSdt other(g.channels, PsiRenderer_NetworkType_Dvbt);
  g.Feed(other, Sdt(8, 99, 5, 0, ServiceDescriptor(1, "", "Five")), 0x11);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(g.Channel(i)->m_nOriginalNetworkId, -1);
    EXPECT_TRUE(g.Channel(i)->m_bstrServiceName.View().empty());
  }
}

// A service descriptor whose name runs past its body is no service
// descriptor; the rest of the section still describes the service.
TEST(PsiProcessorSdtTest, MalformedServiceDescriptorCostsOnlyTheName) {
  Fixture f;
  f.MakeChannels();
  CPsiProcessorSdt sdt(f.channels, PsiRenderer_NetworkType_Dvbt);
  const Bytes broken = Descriptor(0x48, {0x01, 0x00, 0x09, 'T', 'w', 'o'});
  f.Feed(sdt, Sdt(7, 318, 2, 1, broken), 0x11);
  EXPECT_EQ(sdt.IsComplete(), 1);
  const auto two = f.Channel(1);
  EXPECT_EQ(two->m_nServiceId, 2);
  EXPECT_EQ(two->m_nCa, 1);
  EXPECT_TRUE(two->m_bstrServiceName.View().empty());
  EXPECT_EQ(two->m_nServiceType, -1);
}

struct TsEntry {
  uint16_t tsId;
  Bytes descriptors;
};

Bytes Nit(uint16_t networkId, const Bytes& networkDescriptors, std::initializer_list<TsEntry> entries) {
  Bytes loop;
  for (const TsEntry& e : entries) {
    loop.insert(loop.end(), {Lo(e.tsId >> 8), Lo(e.tsId), 0x00, 0x01, Hi(e.descriptors.size(), 0xF0), Lo(e.descriptors.size())});
    loop.insert(loop.end(), e.descriptors.begin(), e.descriptors.end());
  }
  Bytes body = {Hi(networkDescriptors.size(), 0xF0), Lo(networkDescriptors.size())};
  body.insert(body.end(), networkDescriptors.begin(), networkDescriptors.end());
  body.insert(body.end(), {Hi(loop.size(), 0xF0), Lo(loop.size())});
  body.insert(body.end(), loop.begin(), loop.end());
  return Section(0x40, networkId, body);
}

Bytes Terrestrial(uint32_t centre, uint8_t bandwidthCode) {
  return Descriptor(0x5A, {Lo(centre >> 24), Lo(centre >> 16), Lo(centre >> 8), Lo(centre),
                           static_cast<uint8_t>(bandwidthCode << 5 | 0x1F), 0, 0, 0, 0, 0, 0});
}

// 11.725 GHz at 19.2 E, vertical, DVB-S2 roll-off 1, 27500 kS/s.
Bytes Satellite(uint8_t mhzBcdLow) {
  return Descriptor(0x43, {0x01, 0x17, mhzBcdLow, 0x00, 0x01, 0x92, 0x80 | (1 << 5) | (1 << 3) | (1 << 2) | 1, 0x02,
                           0x75, 0x00, 0x03});
}

Bytes Cable() { return Descriptor(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x05, 0x02, 0x75, 0x00, 0x03}); }

TEST(PsiProcessorNitTest, TerrestrialCurrentStreamGetsDeliveryDataAndEveryEntryAFrequency) {
  Fixture f;
  f.MakeChannels();
  CPsiProcessorNit nit(f.channels, PsiRenderer_NetworkType_Dvbt, f.frequencies);
  f.Feed(nit, Nit(12289, Descriptor(0x40, {'N', 'e', 't'}),
                  {{6, Terrestrial(50600000, 1)}, {7, Terrestrial(47400000, 0)}}), 0x10);
  for (size_t i = 0; i < 2; ++i) {
    const auto channel = f.Channel(i);
    EXPECT_EQ(channel->m_nCarrierFrequency, 47400000);
    EXPECT_EQ(channel->m_nBandwidth, 8);
    EXPECT_EQ(channel->m_nNetworkId, 12289);
    EXPECT_EQ(channel->m_bstrNetworkName.Utf8(), "Net");
    EXPECT_EQ(channel->m_nSymbolRate, 0);
    EXPECT_EQ(channel->m_nModulation, 0);
    EXPECT_EQ(channel->m_nDvbS2, 0);
  }
  const auto list = f.frequencies->Copy();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].m_nCarrierFrequency, 506000u);
  EXPECT_EQ(list[0].m_nBandwidth, 7);
  EXPECT_EQ(list[1].m_nCarrierFrequency, 474000u);
  EXPECT_EQ(list[1].m_nBandwidth, 8);
}

TEST(PsiProcessorNitTest, SatelliteListsEveryTransponderButDescribesOnlyTheCurrentOne) {
  Fixture f;
  f.MakeChannels();
  CPsiProcessorNit nit(f.channels, PsiRenderer_NetworkType_Dvbs, f.frequencies);
  // Ten transport streams 1..10; stream 7 (current) at 11.725 GHz, the others at 11.7xx.
  Bytes loop;
  const uint8_t lows[] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x25, 0x70, 0x80, 0x90};
  for (uint16_t ts = 1; ts <= 10; ++ts) {
    const Bytes d = ts == 7 ? Concat({Satellite(lows[ts - 1]), Descriptor(0x79, {0x00})}) : Satellite(lows[ts - 1]);
    loop.insert(loop.end(), {0x00, Lo(ts), 0x00, 0x01, Hi(d.size(), 0xF0), Lo(d.size())});
    loop.insert(loop.end(), d.begin(), d.end());
  }
  Bytes body = {0xF0, 0x00, Hi(loop.size(), 0xF0), Lo(loop.size())};
  body.insert(body.end(), loop.begin(), loop.end());
  f.Feed(nit, Section(0x40, 1, body), 0x10);
  const auto channel = f.Channel(1);
  EXPECT_EQ(channel->m_nCarrierFrequency, 11725000);
  EXPECT_EQ(channel->m_nSymbolRate, 27500);
  EXPECT_EQ(channel->m_nPolarisation, 2);
  EXPECT_EQ(channel->m_nOrbitalPosition, 192);
  EXPECT_EQ(channel->m_nWestEastFlag, 1);
  EXPECT_EQ(channel->m_nDvbS2, 1);
  EXPECT_EQ(channel->m_nModulation, 1);
  EXPECT_EQ(channel->m_nRollOff, 1);
  EXPECT_EQ(channel->m_nBandwidth, 0);
  EXPECT_EQ(channel->m_nS2BackwardsCompatibility, 0);
  EXPECT_TRUE(channel->m_bstrNetworkName.View().empty());
  const auto list = f.frequencies->Copy();
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(list[0].m_nCarrierFrequency, 11710000u);
  EXPECT_EQ(list[6].m_nCarrierFrequency, 11725000u);
  EXPECT_EQ(list[9].m_nOrbitalPosition, 192);
  EXPECT_EQ(list[9].m_nPolarisation, 2);
  EXPECT_EQ(list[9].m_nSymbolRate, 27500u);
}

TEST(PsiProcessorNitTest, CableAddsNoFrequenciesAndOtherTypesAreIgnored) {
  struct Case {
    PsiRenderer_NetworkType type;
    Bytes descriptor;
    int32_t frequency;
    size_t listed;
  };
  const Case cases[] = {
      {PsiRenderer_NetworkType_Dvbc, Cable(), 34600000, 0},
      // Descriptors of another network type count for nothing.
      {PsiRenderer_NetworkType_Dvbt, Cable(), -1, 0},
      {PsiRenderer_NetworkType_Dvbc, Terrestrial(47400000, 0), -1, 0},
      {PsiRenderer_NetworkType_Dvbt, Satellite(0x25), -1, 0},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.MakeChannels();
    CPsiProcessorNit nit(f.channels, c.type, f.frequencies);
    f.Feed(nit, Nit(5, {}, {{7, c.descriptor}}), 0x10);
    EXPECT_EQ(f.Channel(0)->m_nCarrierFrequency, c.frequency);
    EXPECT_EQ(f.frequencies->Size(), c.listed);
    if (c.frequency > 0) {
      EXPECT_EQ(f.Channel(0)->m_nSymbolRate, 27500);
      EXPECT_EQ(f.Channel(0)->m_nModulation, 5);
    }
  }
}

TEST(PsiProcessorNitTest, NitBeforeAnyChannelWritesNothing) {
  Fixture f;
  CPsiProcessorNit nit(f.channels, PsiRenderer_NetworkType_Dvbt, f.frequencies);
  f.Feed(nit, Nit(5, {}, {{7, Terrestrial(47400000, 0)}}), 0x10);
  EXPECT_EQ(f.frequencies->Size(), 0u);
  EXPECT_EQ(f.channels->Size(), 0u);
}

Bytes VctChannelEntry(uint16_t program, bool accessControlled) {
  const uint16_t flags = accessControlled ? 0x7C02 : 0x5C02;
  return {0, 'A', 0, 'B', 0, 'C', 0, 0, 0, 0, 0, 0, 0, 0,
          0xF0, 0x1C, 0x01, 0x04, 0x1F, 0xC3, 0x2C, 0x40, 0x1F, 0xE1, Lo(program >> 8), Lo(program),
          Lo(flags >> 8), Lo(flags), 0x00, 0x09, 0xFC, 0x00};
}

TEST(PsiProcessorVctTest, ChannelsGetNamesNumbersAndTheirCaFlag) {
  Fixture f;
  f.MakeChannels();
  CPsiProcessorVct vct(f.channels, PsiRenderer_NetworkType_Atsc);
  f.Feed(vct,
         Section(0xC8, 0x1FE1,
                 Concat({{0x00, 0x03}, VctChannelEntry(1, true), VctChannelEntry(2, false), VctChannelEntry(9, false),
                         {0xFC, 0x00}})),
         0x1FFB);
  const auto one = f.Channel(0);
  const auto two = f.Channel(1);
  EXPECT_EQ(one->m_bstrServiceName.Utf8(), "ABC");  // NUL padding dropped
  EXPECT_EQ(one->m_nMajorChannelNumber, 7);
  EXPECT_EQ(one->m_nMinorChannelNumber, 1);
  EXPECT_EQ(one->m_nModulation, 4);
  EXPECT_EQ(one->m_nCarrierFrequency, 0x1FC32C40);
  EXPECT_EQ(one->m_nChannelTsId, 0x1FE1);
  EXPECT_EQ(one->m_nServiceType, 2);
  EXPECT_EQ(one->m_nSourceId, 9);
  EXPECT_EQ(one->m_nCa, 1);
  EXPECT_EQ(two->m_nCa, 0);
}

TEST(PsiProcessorCatTest, CompleteCatMarksTheList) {
  Fixture f;
  CPsiProcessorCat cat(f.channels, PsiRenderer_NetworkType_Dvbt);
  EXPECT_EQ(f.channels->CatSeen(), 0);
  f.Feed(cat, Section(0x01, 0xFFFF, Descriptor(0x09, {0x01, 0x00, 0xE1, 0x00})), 0x01);
  EXPECT_EQ(cat.IsComplete(), 1);
  EXPECT_EQ(f.channels->CatSeen(), 1);
}

}  // namespace
