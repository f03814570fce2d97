#include "psi/descriptors/mpeg/ConditionalAccessDescriptor.h"

void CConditionalAccessDescriptor::Parse(CPsiStream& reader) {
  ca_system_id = reader.ReadUInt16();
  ca_pid = reader.ReadUInt16() & 0x1FFF;
  private_data.Read(reader, static_cast<uint8_t>(length - 4));
}
