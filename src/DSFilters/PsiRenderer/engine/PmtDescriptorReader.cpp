#include "DSFilters/PsiRenderer/engine/PmtDescriptorReader.h"

#include "logging/LogFile.h"
#include "psi/descriptors/LanguageCode.h"
#include "psi/descriptors/dvb/SubtitlingDescriptor.h"
#include "psi/descriptors/dvb/TeletextDescriptor.h"
#include "psi/descriptors/mpeg/Iso639LanguageDescriptor.h"

AudioRecord& AudioEntry(AudioMap& audio, uint16_t pid) {
  AudioRecord& entry = audio[pid];
  entry.pid = pid;
  return entry;
}

bool ReadCommonPmtDescriptor(const CDescriptorEntry& descriptor, const PmtStream& stream, CChannel& channel,
                             AudioMap& audio, bool& teletext) {
  const uint16_t pid = stream.elementary_pid;
  switch (descriptor.tag) {
    case 0x0A:
      if (const auto* iso = descriptor.As<CIso639LanguageDescriptor>()) {
        for (const Iso639Language& entry : iso->entries) {
          AudioRecord& record = AudioEntry(audio, pid);
          record.language = entry.language_code;
          record.type = entry.audio_type;
          log(5, "CPsiProcessorPmtDvb::ProcessSection(): found ISO639 descriptor pid: 0x%x, audio type: %d, lang: %s",
              pid, entry.audio_type, LanguageCodeText(entry.language_code.data()).c_str());
        }
      }
      return true;
    case 0x56:
      teletext = true;
      if (const auto* ttx = descriptor.As<CTeletextDescriptor>()) {
        for (const TeletextEntry& entry : ttx->entries) {
          channel.m_vTeletext.push_back(
              {entry.language_code, entry.teletext_type, entry.magazine_number, entry.page_number, pid});
          log(5, "CPsiProcessorPmtDvb::ProcessSection(): found teletext descriptor pid: 0x%x, type: %d, lang: %s",
              pid, entry.teletext_type, LanguageCodeText(entry.language_code.data()).c_str());
        }
      }
      return true;
    case 0x59:
      if (const auto* sub = descriptor.As<CSubtitlingDescriptor>()) {
        for (const SubtitlingEntry& entry : sub->entries)
          channel.m_vSubtitles.push_back(
              {entry.language_code, entry.subtitling_type, entry.composition_page_id, entry.ancillary_page_id, pid});
      }
      return true;
    default:
      return false;
  }
}
