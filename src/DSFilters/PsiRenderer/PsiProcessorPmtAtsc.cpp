#include "DSFilters/PsiRenderer/PsiProcessorPmtAtsc.h"

#include "psi/descriptors/atsc/ComponentNameDescriptor.h"
#include "psi/mpeg/PmtAtsc.h"
#include "psi/text/MultipleString.h"

namespace {
PsiRenderer_StreamType Classify(uint8_t streamType, bool video, bool audio, bool teletext, uint8_t& ac3) {
  switch (streamType) {
    case 0x01:
    case 0x02:
    case 0x1B: return PsiRenderer_StreamType_Video;
    case 0x03:
    case 0x04: ac3 = 0; return PsiRenderer_StreamType_Audio;
    case 0x81: ac3 = 1; return PsiRenderer_StreamType_Audio;
    default: break;
  }
  if (audio) return PsiRenderer_StreamType_Audio;  // keeps the flag an AC-3 audio descriptor set
  if (video) return PsiRenderer_StreamType_Video;
  if (teletext) return PsiRenderer_StreamType_Teletext;
  return PsiRenderer_StreamType_Unknown;
}
}  // namespace

std::unique_ptr<CPmt> CPsiProcessorPmtAtsc::CreateTable() const { return std::make_unique<CPmtAtsc>(); }

void CPsiProcessorPmtAtsc::EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t) {
  AudioMap audio;
  for (const PmtStream& stream : pmt.streams) {
    const uint16_t pid = stream.elementary_pid;
    bool video = false, audioFlag = false, teletext = false;
    uint8_t ac3 = 0;
    for (const auto& descriptor : stream.descriptors) {
      if (ReadCommonPmtDescriptor(*descriptor, stream, channel, audio, teletext)) continue;
      switch (descriptor->tag) {
        case 0x81:
          AudioEntry(audio, pid).ac3 = 1;
          ac3 = 1;
          audioFlag = true;
          break;
        case 0xA3:
          if (const auto* cn = dynamic_cast<const CComponentNameDescriptor*>(descriptor.get()))
            for (const MultipleString& text : MssParse(cn->name.bytes.data(), cn->name.length))
              AudioEntry(audio, pid).language = text.language_code;
          break;
        case 0x02: video = true; break;
        case 0x03: audioFlag = true; break;
        default: break;
      }
    }
    const PsiRenderer_StreamType classification = Classify(stream.stream_type, video, audioFlag, teletext, ac3);
    if (classification == PsiRenderer_StreamType_Audio) {
      AudioRecord& entry = AudioEntry(audio, pid);
      entry.type = stream.stream_type;
      entry.ac3 = ac3;
    }
    AddPid(channel, stream, classification);
  }
  AddAudioRecords(channel, audio);
}
