#include "psi/descriptors/dvb/ContentDescriptor.h"

void CContentDescriptor::Parse(CPsiStream& reader) {
  ReadEntries(reader, 2, entries, [](CPsiStream& r) {
    ContentEntry entry;
    const uint8_t nibbles = r.ReadUInt8();
    entry.content_nibble_level_1 = nibbles >> 4;
    entry.content_nibble_level_2 = nibbles & 0x0F;
    entry.user_byte = r.ReadUInt8();
    return entry;
  });
}
