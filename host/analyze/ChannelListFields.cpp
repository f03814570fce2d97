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

int32_t VideoPid(const CChannel& channel) {
  for (const PidRecord& record : channel.m_vPids)
    if (record.classification == PsiRenderer_StreamType_Video) return record.pid;
  return -1;
}
