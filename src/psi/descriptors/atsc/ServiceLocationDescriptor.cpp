#include "psi/descriptors/atsc/ServiceLocationDescriptor.h"

void CServiceLocationDescriptor::Parse(CPsiStream& reader) {
  elements.clear();
  pcr_pid = reader.ReadUInt16() & 0x1FFF;
  const uint8_t count = reader.ReadUInt8();
  for (uint8_t i = 0; i < count; ++i) {
    ServiceLocationElement element;
    element.stream_type = reader.ReadUInt8();
    element.elementary_pid = reader.ReadUInt16() & 0x1FFF;
    element.language_code = ReadLanguageCode(reader);
    elements.push_back(element);
  }
}
