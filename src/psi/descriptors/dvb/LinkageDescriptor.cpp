#include "psi/descriptors/dvb/LinkageDescriptor.h"

void CLinkageDescriptor::Parse(CPsiStream& reader) {
  transport_stream_id = reader.ReadUInt16();
  original_network_id = reader.ReadUInt16();
  service_id = reader.ReadUInt16();
  reader.Skip(length - 6);
}
