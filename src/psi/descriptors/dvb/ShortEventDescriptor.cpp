#include "psi/descriptors/dvb/ShortEventDescriptor.h"

void CShortEventDescriptor::Parse(CPsiStream& reader) {
  language_code = ReadLanguageCode(reader);
  event_name.Read(reader, reader.ReadUInt8());
  text.Read(reader, reader.ReadUInt8());
}
