#include "psi/descriptors/dvb/SatelliteDeliverySystemDescriptor.h"

void CSatelliteDeliverySystemDescriptor::Parse(CPsiStream& reader) {
  frequency = reader.ReadUInt32();
  orbital_position = reader.ReadUInt16();
  const uint8_t flags = reader.ReadUInt8();
  west_east_flag = flags >> 7;
  polarization = (flags >> 5) & 3;
  modulation_system = (flags >> 2) & 1;
  modulation_type = flags & 3;
  if (modulation_system == 1) roll_off = (flags >> 3) & 3;
  const uint32_t rate = reader.ReadUInt32();
  symbol_rate = rate >> 4;
  fec_inner = rate & 0x0F;
}
