#include "psi/descriptors/dvb/CableDeliverySystemDescriptor.h"

void CCableDeliverySystemDescriptor::Parse(CPsiStream& reader) {
  frequency = reader.ReadUInt32();
  reader.Skip(1);
  fec_outer = reader.ReadUInt8() & 0x0F;
  modulation = reader.ReadUInt8();
  const uint32_t rate = reader.ReadUInt32();
  symbol_rate = rate >> 4;
  fec_inner = rate & 0x0F;
}
