#include "psi/atsc/SttSection.h"

#include "psi/SectionBody.h"

bool CSttSection::Parse(const uint8_t* data, uint32_t length) {
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(3 + 6);  // table_id, section_length, extension, version, numbers, protocol_version
    system_time = reader.ReadUInt32();
    GPS_UTC_offset = reader.ReadUInt8();
  });
}
