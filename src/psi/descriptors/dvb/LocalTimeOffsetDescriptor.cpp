#include "psi/descriptors/dvb/LocalTimeOffsetDescriptor.h"

void CLocalTimeOffsetDescriptor::Parse(CPsiStream& reader) {
  ReadEntries(reader, 13, entries, [](CPsiStream& r) {
    LocalTimeOffsetEntry entry;
    entry.country_code = ReadLanguageCode(r);
    const uint8_t region = r.ReadUInt8();
    entry.country_region_id = region >> 2;
    entry.local_time_offset_polarity = region & 1;
    entry.local_time_offset = r.ReadUInt16();
    r.Read(entry.time_of_change.data(), entry.time_of_change.size());
    entry.next_time_offset = r.ReadUInt16();
    return entry;
  });
}
