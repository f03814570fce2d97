#include "analyze/ChannelListFields.h"

#include "psi/dvb/Bcd.h"

std::optional<std::string> LanguageText(const LanguageChars& language, TextUse use) {
  if (language == LanguageChars{}) return std::nullopt;
  return SafeUtf8(std::string_view(reinterpret_cast<const char*>(language.data()), language.size()), use);
}

std::optional<int> TeletextPage(uint8_t page) {
  if ((page >> 4) > 9 || (page & 0x0F) > 9) return std::nullopt;
  return static_cast<int>(BcdToDecimal(page));
}

const char* StreamKindName(PsiRenderer_StreamType classification) {
  switch (classification) {
    case PsiRenderer_StreamType_Pmt: return "pmt";
    case PsiRenderer_StreamType_Video: return "video";
    case PsiRenderer_StreamType_Audio: return "audio";
    case PsiRenderer_StreamType_Teletext: return "teletext";
    default: return "unknown";
  }
}

const char* CodecName(StreamCodec codec) {
  switch (codec) {
    case StreamCodec::Mpeg1Video: return "MPEG-1";
    case StreamCodec::Mpeg2Video: return "MPEG-2";
    case StreamCodec::Mpeg4Video: return "MPEG-4";
    case StreamCodec::H264: return "H.264";
    case StreamCodec::Hevc: return "HEVC";
    case StreamCodec::MpegAudio: return "MPEG audio";
    case StreamCodec::Ac3: return "AC-3";
    case StreamCodec::EAc3: return "E-AC-3";
    case StreamCodec::Aac: return "AAC";
    case StreamCodec::Unknown: break;
  }
  return nullptr;
}

StreamCodec CodecOf(const CChannel& channel, uint16_t pid) {
  for (const PidRecord& record : channel.m_vPids)
    if (record.pid == pid && record.classification != PsiRenderer_StreamType_Pmt) return record.codec;
  return StreamCodec::Unknown;
}

int32_t VideoPid(const CChannel& channel) {
  for (const PidRecord& record : channel.m_vPids)
    if (record.classification == PsiRenderer_StreamType_Video) return record.pid;
  return -1;
}
