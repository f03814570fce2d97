#include "psi/descriptors/dvb/TeletextDescriptor.h"

void CTeletextDescriptor::Parse(CPsiStream& reader) {
  ReadEntries(reader, 5, entries, [](CPsiStream& r) {
    TeletextEntry entry;
    entry.language_code = ReadLanguageCode(r);
    const uint8_t typeAndMagazine = r.ReadUInt8();
    entry.teletext_type = typeAndMagazine >> 3;
    entry.magazine_number = typeAndMagazine & 7;
    entry.page_number = r.ReadUInt8();
    return entry;
  });
}
