#include "psi/descriptors/mpeg/Iso639LanguageDescriptor.h"

void CIso639LanguageDescriptor::Parse(CPsiStream& reader) {
  ReadEntries(reader, 4, entries, [](CPsiStream& r) {
    Iso639Language entry;
    entry.language_code = ReadLanguageCode(r);
    entry.audio_type = r.ReadUInt8();
    return entry;
  });
}
