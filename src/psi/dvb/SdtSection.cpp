#include "psi/dvb/SdtSection.h"

#include "psi/SectionBody.h"

bool CSdtSection::Parse(const uint8_t* data, uint32_t length) {
  transport_stream_id = 0;
  original_network_id = 0;
  services.clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(1);
    const uint32_t sectionLength = reader.ReadUInt16() & 0x0FFF;
    transport_stream_id = reader.ReadUInt16();
    reader.Skip(3);
    original_network_id = reader.ReadUInt16();
    reader.Skip(1);
    const uint32_t serviceLoopLength = sectionLength - 12;
    for (uint32_t read = 0; read < serviceLoopLength;) {
      SdtService service;
      service.service_id = reader.ReadUInt16();
      const uint8_t eitFlags = reader.ReadUInt8();
      service.eit_schedule_flag = (eitFlags >> 1) & 1;
      service.eit_present_following_flag = eitFlags & 1;
      const uint16_t word = reader.ReadUInt16();
      service.running_status = (word >> 13) & 7;
      service.free_ca_mode = (word >> 12) & 1;
      service.descriptors_loop_length = word & 0x0FFF;
      service.descriptors.ParseLoop(reader, service.descriptors_loop_length, DescriptorContext_Dvb);
      read += 5u + service.descriptors_loop_length;
      services.push_back(std::move(service));
    }
  });
}
