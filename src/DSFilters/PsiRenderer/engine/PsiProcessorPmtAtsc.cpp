#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtAtsc.h"

#include "psi/descriptors/atsc/ComponentNameDescriptor.h"
#include "psi/mpeg/PmtAtsc.h"
#include "psi/text/MultipleString.h"

namespace {
struct StreamFlags {
  bool video = false;
  bool audio = false;
  bool teletext = false;
  bool ac3 = false;  // an AC-3 audio descriptor was seen
};

StreamKind Classify(uint8_t streamType, const StreamFlags& flags) {
  switch (streamType) {
    case 0x01: return StreamKind::Video(StreamCodec::Mpeg1Video);
    case 0x02: return StreamKind::Video(StreamCodec::Mpeg2Video);
    case 0x1B: return StreamKind::Video(StreamCodec::H264);
    case 0x24: return StreamKind::Video(StreamCodec::Hevc);
    case 0x03:
    case 0x04: return StreamKind::Audio(StreamCodec::MpegAudio, false);
    case 0x0F:
    case 0x11: return StreamKind::Audio(StreamCodec::Aac, false);
    case 0x81: return StreamKind::Audio(StreamCodec::Ac3, true);
    case 0x87: return StreamKind::Audio(StreamCodec::EAc3, true);
    default: break;
  }
  // Keeps the flag an AC-3 audio descriptor set.
  if (flags.audio) return StreamKind::Audio(flags.ac3 ? StreamCodec::Ac3 : StreamCodec::MpegAudio, flags.ac3);
  if (flags.video) return StreamKind::Video(StreamCodec::Mpeg2Video);
  if (flags.teletext) return StreamKind::Teletext();
  return {};
}
}  // namespace

std::unique_ptr<CPmt> CPsiProcessorPmtAtsc::CreateTable() const { return std::make_unique<CPmtAtsc>(); }

void CPsiProcessorPmtAtsc::EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t) {
  AudioMap audio;
  for (const PmtStream& stream : pmt.streams) {
    const uint16_t pid = stream.elementary_pid;
    StreamFlags flags;
    for (const auto& descriptor : stream.descriptors) {
      if (ReadCommonPmtDescriptor(descriptor, stream, channel, audio, flags.teletext)) continue;
      switch (descriptor.tag) {
        case 0x81:
          AudioEntry(audio, pid).ac3 = 1;
          flags.ac3 = flags.audio = true;
          break;
        case 0xA3:
          if (const auto* cn = descriptor.As<CComponentNameDescriptor>())
            for (const MultipleString& text : MssParse(cn->name.bytes.data(), cn->name.length))
              AudioEntry(audio, pid).language = text.language_code;
          break;
        case 0x02: flags.video = true; break;
        case 0x03: flags.audio = true; break;
        default: break;
      }
    }
    AddStream(channel, audio, stream, Classify(stream.stream_type, flags));
  }
  AddAudioRecords(channel, audio);
}
