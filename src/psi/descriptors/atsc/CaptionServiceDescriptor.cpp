#include "psi/descriptors/atsc/CaptionServiceDescriptor.h"

void CCaptionServiceDescriptor::Parse(CPsiStream& reader) {
  services.clear();
  const uint8_t count = reader.ReadUInt8() & 0x1F;
  for (uint8_t i = 0; i < count; ++i) {
    CaptionService service;
    service.language_code = ReadLanguageCode(reader);
    const uint8_t kind = reader.ReadUInt8();
    service.digital_cc = (kind & 0x80) != 0;
    if (service.digital_cc)
      service.caption_service_number = kind & 0x3F;
    else
      service.line21_field = kind & 1;
    const uint8_t flags = reader.ReadUInt8();
    service.easy_reader = (flags & 0x80) != 0;
    service.wide_aspect_ratio = (flags & 0x40) != 0;
    reader.Skip(1);
    services.push_back(service);
  }
}
