#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"

void CTerrestrialDeliverySystemDescriptor::Parse(CPsiStream& reader) {
  centre_frequency = reader.ReadUInt32();
  bandwidth = reader.ReadUInt8() >> 5;
  reader.Skip(6);
}
