#include "psi/descriptors/dvb/ComponentDescriptor.h"

void CComponentDescriptor::Parse(CPsiStream& reader) {
  stream_content = reader.ReadUInt8() & 0x0F;
  component_type = reader.ReadUInt8();
  component_tag = reader.ReadUInt8();
  language_code = ReadLanguageCode(reader);
  text.Read(reader, static_cast<uint8_t>(length - 6));
}
