#include "psi/atsc/EttSection.h"

#include "psi/SectionBody.h"

bool CEttSection::Parse(const uint8_t* data, uint32_t length) {
  etm_id = 0;
  text = {};
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(1);
    const uint16_t sectionLength = reader.ReadUInt16() & 0x0FFF;
    reader.Skip(6);  // extension, version, section numbers, protocol_version
    etm_id = reader.ReadUInt32();
    // A section_length below 14 wraps to a length the data cannot hold.
    text.Read(reader, static_cast<uint16_t>(sectionLength - 14));
  });
}
