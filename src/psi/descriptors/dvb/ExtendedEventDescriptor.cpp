#include "psi/descriptors/dvb/ExtendedEventDescriptor.h"

void CExtendedEventDescriptor::Parse(CPsiStream& reader) {
  const uint8_t numbers = reader.ReadUInt8();
  descriptor_number = numbers >> 4;
  last_descriptor_number = numbers & 0x0F;
  language_code = ReadLanguageCode(reader);
  const uint32_t lengthOfItems = reader.ReadUInt8();
  for (uint32_t read = 0; read < lengthOfItems;) {
    ExtendedEventItem entry;
    entry.item_description.Read(reader, reader.ReadUInt8());
    entry.item.Read(reader, reader.ReadUInt8());
    read += 2u + entry.item_description.length + entry.item.length;
    items.push_back(entry);
  }
  text.Read(reader, reader.ReadUInt8());
}
