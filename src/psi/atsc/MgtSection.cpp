#include "psi/atsc/MgtSection.h"

#include "psi/SectionBody.h"

bool CMgtSection::Parse(const uint8_t* data, uint32_t length) {
  tables.clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(3 + 6);  // table_id, section_length, extension, version, numbers, protocol_version
    const uint16_t tablesDefined = reader.ReadUInt16();
    for (uint16_t i = 0; i < tablesDefined; ++i) {
      MgtTableType table;
      table.table_type = reader.ReadUInt16();
      table.pid = reader.ReadUInt16() & 0x1FFF;
      reader.Skip(5);  // version, number_bytes
      reader.Skip(reader.ReadUInt16() & 0x0FFF);
      tables.push_back(table);
    }
  });
}
