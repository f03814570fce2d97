#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtDvb.h"

#include "logging/LogFile.h"
#include "psi/mpeg/PmtDvb.h"

namespace {
struct StreamFlags {
  bool video = false;
  bool audio = false;
  bool mpeg4Video = false;
  bool mpeg4Audio = false;
  bool ac3 = false;
  bool enhancedAc3 = false;
  bool aac = false;
  bool avc = false;
  bool teletext = false;
};

// First matching rule wins. HEVC sets the program-wide MPEG-4 flag as H.264
// does: the stored video type tells MPEG-2 from the advanced codecs.
StreamKind Classify(uint8_t streamType, const StreamFlags& flags, bool& programMpeg4) {
  switch (streamType) {
    case 0x01: return StreamKind::Video(StreamCodec::Mpeg1Video);
    case 0x02: return StreamKind::Video(StreamCodec::Mpeg2Video);
    case 0x03:
    case 0x04:  // an AC-3 family descriptor overrides what the stream type says
      if (flags.ac3) return StreamKind::Audio(StreamCodec::Ac3, true);
      if (flags.enhancedAc3) return StreamKind::Audio(StreamCodec::EAc3, true);
      return StreamKind::Audio(StreamCodec::MpegAudio, false);
    case 0x1B: programMpeg4 = true; return StreamKind::Video(StreamCodec::H264);
    case 0x24: programMpeg4 = true; return StreamKind::Video(StreamCodec::Hevc);
    case 0x0F:
    case 0x11: return StreamKind::Audio(StreamCodec::Aac, false);
    case 0x81: return StreamKind::Audio(StreamCodec::Ac3, true);
    default: break;
  }
  if (flags.audio) return StreamKind::Audio(StreamCodec::MpegAudio, false);
  if (flags.ac3) return StreamKind::Audio(StreamCodec::Ac3, true);
  if (flags.enhancedAc3) return StreamKind::Audio(StreamCodec::EAc3, true);
  if (flags.aac || flags.mpeg4Audio) return StreamKind::Audio(StreamCodec::Aac, false);
  if (flags.video) return StreamKind::Video(StreamCodec::Mpeg2Video);
  if (flags.mpeg4Video) return StreamKind::Video(StreamCodec::Mpeg4Video);
  if (flags.teletext) return StreamKind::Teletext();
  if (flags.avc) return StreamKind::Video(StreamCodec::H264);
  return {};
}
}  // namespace

std::unique_ptr<CPmt> CPsiProcessorPmtDvb::CreateTable() const { return std::make_unique<CPmtDvb>(); }

void CPsiProcessorPmtDvb::EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t pmtPid) {
  AudioMap audio;
  bool programMpeg4 = false;
  for (const PmtStream& stream : pmt.streams) {
    StreamFlags flags;
    for (const auto& descriptor : stream.descriptors) {
      if (ReadCommonPmtDescriptor(descriptor, stream, channel, audio, flags.teletext)) continue;
      switch (descriptor.tag) {
        case 0x02: flags.video = true; break;
        case 0x03: flags.audio = true; break;
        case 0x1B: flags.mpeg4Video = programMpeg4 = true; break;
        case 0x1C: flags.mpeg4Audio = true; break;
        case 0x6A: flags.ac3 = true; break;
        case 0x7A: flags.enhancedAc3 = true; break;
        case 0x7C: flags.aac = true; break;
        case 0x28: flags.avc = programMpeg4 = true; break;
        default: break;
      }
    }
    const StreamKind kind = Classify(stream.stream_type, flags, programMpeg4);
    AddStream(channel, audio, stream, kind);
    if (kind.classification == PsiRenderer_StreamType_Video) {
      channel.m_nVideoStreamType = programMpeg4 ? 2 : 1;
      log(5, "CPsiProcessorPmtDvb::ProcessSection() VideoType: %s", programMpeg4 ? "MPEG-4" : "MPEG-2");
    }
  }
  AddAudioRecords(channel, audio);
  channel.m_vPids.push_back({pmtPid, 0, PsiRenderer_StreamType_Pmt});
}
