#include "psi/descriptors/dvb/ServiceListDescriptor.h"

void CServiceListDescriptor::Parse(CPsiStream& reader) {
  ReadEntries(reader, 3, entries, [](CPsiStream& r) {
    ServiceListEntry entry;
    entry.service_id = r.ReadUInt16();
    entry.service_type = r.ReadUInt8();
    return entry;
  });
}
