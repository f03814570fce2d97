#include "psi/atsc/EitAtscSection.h"

#include "psi/SectionBody.h"

bool CEitAtscSection::Parse(const uint8_t* data, uint32_t length) {
  source_id = 0xFFFF;
  events.clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(3);
    source_id = reader.ReadUInt16();
    reader.Skip(4);  // version, section numbers, protocol_version
    const uint8_t count = reader.ReadUInt8();
    for (uint8_t i = 0; i < count; ++i) {
      EitAtscEvent event;
      event.event_id = reader.ReadUInt16() & 0x3FFF;
      event.start_time = reader.ReadUInt32();
      const uint32_t word = reader.ReadUInt32();
      event.etm_location = (word >> 28) & 3;
      event.length_in_seconds = (word >> 8) & 0xFFFFF;
      event.title.Read(reader, word & 0xFF);
      event.descriptors.ParseLoop(reader, reader.ReadUInt16() & 0x0FFF, DescriptorContext_Atsc);
      events.push_back(std::move(event));
    }
  });
}
