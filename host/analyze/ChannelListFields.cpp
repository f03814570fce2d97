#include "analyze/ChannelListFields.h"

std::optional<std::string> LanguageText(const LanguageChars& language) {
  if (language == LanguageChars{}) return std::nullopt;
  return std::string(language.begin(), language.end());
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
