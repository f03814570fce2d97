#include "psi/mpeg/PatSection.h"

#include "psi/SectionBody.h"

bool CPatSection::Parse(const uint8_t* data, uint32_t length) {
  transport_stream_id = 0xFFFF;
  programs.clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(1);
    const int32_t sectionLength = reader.ReadUInt16() & 0x0FFF;
    transport_stream_id = reader.ReadUInt16();
    reader.Skip(3);
    // 5 header bytes after section_length and the CRC_32 are not program entries.
    const int32_t count = (sectionLength - 9) / 4;
    for (int32_t i = 0; i < count; ++i) {
      PatProgram program;
      program.program_number = reader.ReadUInt16();
      program.pid = reader.ReadUInt16() & 0x1FFF;
      programs.push_back(program);
    }
  });
}
