#include "psi/atsc/VctSection.h"

#include "psi/SectionBody.h"

bool CVctSection::Parse(const uint8_t* data, uint32_t length) {
  transport_stream_id = 0xFFFF;
  channels.clear();
  descriptors.Clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(3);
    transport_stream_id = reader.ReadUInt16();
    reader.Skip(4);  // version, section numbers, protocol_version
    const uint8_t count = reader.ReadUInt8();
    for (uint8_t i = 0; i < count; ++i) {
      VctChannel channel;
      reader.Read(channel.short_name.data(), channel.short_name.size());
      const uint32_t numbers = reader.ReadUInt32();
      channel.major_channel_number = (numbers >> 18) & 0x3FF;
      channel.minor_channel_number = (numbers >> 8) & 0x3FF;
      channel.modulation_mode = numbers & 0xFF;
      channel.carrier_frequency = reader.ReadUInt32();
      channel.channel_tsid = reader.ReadUInt16();
      channel.program_number = reader.ReadUInt16();
      const uint16_t flags = reader.ReadUInt16();
      channel.access_controlled = (flags >> 13) & 1;
      channel.service_type = flags & 0x3F;
      channel.source_id = reader.ReadUInt16();
      channel.descriptors.ParseLoop(reader, reader.ReadUInt16() & 0x3FF, DescriptorContext_Atsc);
      channels.push_back(std::move(channel));
    }
    descriptors.ParseLoop(reader, reader.ReadUInt16() & 0x3FF, DescriptorContext_Atsc);
  });
}
