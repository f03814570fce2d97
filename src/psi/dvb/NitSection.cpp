#include "psi/dvb/NitSection.h"

#include "psi/SectionBody.h"

bool CNitSection::Parse(const uint8_t* data, uint32_t length) {
  network_id = 0;
  descriptors.Clear();
  transport_streams.clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(3);
    network_id = reader.ReadUInt16();
    reader.Skip(3);
    descriptors.ParseLoop(reader, reader.ReadUInt16() & 0x0FFF, DescriptorContext_Dvb);
    const uint32_t loopLength = reader.ReadUInt16() & 0x0FFF;
    for (uint32_t read = 0; read < loopLength;) {
      NitTransportStream stream;
      stream.transport_stream_id = reader.ReadUInt16();
      stream.original_network_id = reader.ReadUInt16();
      const uint32_t descriptorsLength = reader.ReadUInt16() & 0x0FFF;
      stream.descriptors.ParseLoop(reader, descriptorsLength, DescriptorContext_Dvb);
      read += 6 + descriptorsLength;
      transport_streams.push_back(std::move(stream));
    }
  });
}
