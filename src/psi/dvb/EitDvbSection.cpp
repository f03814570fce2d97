#include "psi/dvb/EitDvbSection.h"

#include "psi/SectionBody.h"

bool CEitDvbSection::Parse(const uint8_t* data, uint32_t length) {
  service_id = 0;
  transport_stream_id = 0;
  original_network_id = 0;
  segment_last_section_number = 0;
  last_table_id = 0;
  events.clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(1);
    const uint32_t sectionLength = reader.ReadUInt16() & 0x0FFF;
    service_id = reader.ReadUInt16();
    reader.Skip(3);
    transport_stream_id = reader.ReadUInt16();
    original_network_id = reader.ReadUInt16();
    segment_last_section_number = reader.ReadUInt8();
    last_table_id = reader.ReadUInt8();
    const uint32_t eventLoopLength = sectionLength - 15;
    for (uint32_t read = 0; read < eventLoopLength;) {
      EitDvbEvent event;
      event.event_id = reader.ReadUInt16();
      reader.Read(event.start_time.data(), event.start_time.size());
      reader.Read(event.duration.data(), event.duration.size());
      const uint16_t word = reader.ReadUInt16();
      event.running_status = (word >> 13) & 7;
      event.free_ca_mode = (word >> 12) & 1;
      const uint32_t descriptorsLength = word & 0x0FFF;
      event.descriptors.ParseLoop(reader, descriptorsLength, DescriptorContext_Dvb);
      read += 12 + descriptorsLength;
      events.push_back(std::move(event));
    }
  });
}
