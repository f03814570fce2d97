#include "psi/mpeg/CatSection.h"

#include "psi/SectionBody.h"

bool CCatSection::Parse(const uint8_t* data, uint32_t length) {
  descriptors.Clear();
  return ParseSectionBody(*this, data, length, [this](CPsiStream& reader) {
    reader.Skip(1);
    const uint32_t sectionLength = reader.ReadUInt16() & 0x0FFF;
    reader.Skip(5);
    descriptors.ParseLoop(reader, sectionLength - 9, context);
  });
}
