#include "psi/descriptors/dvb/ServiceDescriptor.h"

void CServiceDescriptor::Parse(CPsiStream& reader) {
  service_type = reader.ReadUInt8();
  service_provider_name.Read(reader, reader.ReadUInt8());
  service_name.Read(reader, reader.ReadUInt8());
}
