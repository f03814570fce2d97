#include "psi/descriptors/dvb/SubtitlingDescriptor.h"

void CSubtitlingDescriptor::Parse(CPsiStream& reader) {
  ReadEntries(reader, 8, entries, [](CPsiStream& r) {
    SubtitlingEntry entry;
    entry.language_code = ReadLanguageCode(r);
    entry.subtitling_type = r.ReadUInt8();
    entry.composition_page_id = r.ReadUInt16();
    entry.ancillary_page_id = r.ReadUInt16();
    return entry;
  });
}
