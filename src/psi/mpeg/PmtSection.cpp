#include "psi/mpeg/PmtSection.h"

#include "psi/SectionBody.h"

bool CPmtSection::Parse(const uint8_t* data, uint32_t length) {
  program_number = 0xFFFF;
  pcr_pid = 0xFFFF;
  streams.clear();
  descriptors.Clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(1);
    const uint32_t sectionLength = reader.ReadUInt16() & 0x0FFF;
    program_number = reader.ReadUInt16();
    reader.Skip(3);
    pcr_pid = reader.ReadUInt16() & 0x1FFF;
    const uint32_t programInfoLength = reader.ReadUInt16() & 0x0FFF;
    descriptors.ParseLoop(reader, programInfoLength, context);
    // 9 header bytes after section_length and the CRC_32 are not stream entries.
    const uint32_t streamLoopLength = sectionLength - programInfoLength - 13;
    for (uint32_t read = 0; read < streamLoopLength;) {
      PmtStream stream;
      stream.stream_type = reader.ReadUInt8();
      stream.elementary_pid = reader.ReadUInt16() & 0x1FFF;
      const uint32_t esInfoLength = reader.ReadUInt16() & 0x0FFF;
      stream.descriptors.ParseLoop(reader, esInfoLength, context);
      streams.push_back(std::move(stream));
      read += 5 + esInfoLength;
    }
  });
}
