#include "DSFilters/PsiRenderer/PsiProcessorPmtDvb.h"

#include "logging/LogFile.h"
#include "psi/mpeg/PmtDvb.h"

namespace {
struct StreamFlags {
  bool video = false;
  bool audio = false;
  bool mpeg4Video = false;
  bool mpeg4Audio = false;
  bool ac3 = false;
  bool avc = false;
  bool teletext = false;
};

// First matching rule wins; an audio classification also yields its AC-3 flag.
PsiRenderer_StreamType Classify(uint8_t streamType, const StreamFlags& flags, bool& programMpeg4, uint8_t& ac3) {
  switch (streamType) {
    case 0x01:
    case 0x02: return PsiRenderer_StreamType_Video;
    case 0x03:
    case 0x04: ac3 = flags.ac3 ? 1 : 0; return PsiRenderer_StreamType_Audio;
    case 0x1B: programMpeg4 = true; return PsiRenderer_StreamType_Video;
    case 0x81: ac3 = 1; return PsiRenderer_StreamType_Audio;
    default: break;
  }
  if (flags.audio) { ac3 = 0; return PsiRenderer_StreamType_Audio; }
  if (flags.ac3) { ac3 = 1; return PsiRenderer_StreamType_Audio; }
  if (flags.mpeg4Audio) { ac3 = 0; return PsiRenderer_StreamType_Audio; }
  if (flags.video || flags.mpeg4Video) return PsiRenderer_StreamType_Video;
  if (flags.teletext) return PsiRenderer_StreamType_Teletext;
  if (flags.avc) return PsiRenderer_StreamType_Video;
  return PsiRenderer_StreamType_Unknown;
}
}  // namespace

std::unique_ptr<CPmt> CPsiProcessorPmtDvb::CreateTable() const { return std::make_unique<CPmtDvb>(); }

void CPsiProcessorPmtDvb::EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t pmtPid) {
  AudioMap audio;
  bool programMpeg4 = false;
  for (const PmtStream& stream : pmt.streams) {
    StreamFlags flags;
    for (const auto& descriptor : stream.descriptors) {
      if (ReadCommonPmtDescriptor(*descriptor, stream, channel, audio, flags.teletext)) continue;
      switch (descriptor->tag) {
        case 0x02: flags.video = true; break;
        case 0x03: flags.audio = true; break;
        case 0x1B: flags.mpeg4Video = programMpeg4 = true; break;
        case 0x1C: flags.mpeg4Audio = true; break;
        case 0x6A: flags.ac3 = true; break;
        case 0x28: flags.avc = programMpeg4 = true; break;
        default: break;
      }
    }
    uint8_t ac3 = 0;
    const PsiRenderer_StreamType classification = Classify(stream.stream_type, flags, programMpeg4, ac3);
    if (classification == PsiRenderer_StreamType_Audio) {
      AudioRecord& entry = AudioEntry(audio, stream.elementary_pid);
      entry.type = stream.stream_type;
      entry.ac3 = ac3;
    }
    AddPid(channel, stream, classification);
    if (classification == PsiRenderer_StreamType_Video) {
      channel.m_nVideoStreamType = programMpeg4 ? 2 : 1;
      log(5, "CPsiProcessorPmtDvb::ProcessSection() VideoType: %s", programMpeg4 ? "MPEG-4" : "MPEG-2");
    }
  }
  AddAudioRecords(channel, audio);
  channel.m_vPids.push_back({pmtPid, 0, PsiRenderer_StreamType_Pmt});
}
