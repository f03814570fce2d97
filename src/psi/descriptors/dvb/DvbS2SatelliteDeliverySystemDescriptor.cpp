#include "psi/descriptors/dvb/DvbS2SatelliteDeliverySystemDescriptor.h"

void CDvbS2SatelliteDeliverySystemDescriptor::Parse(CPsiStream& reader) {
  backwards_compatibility_indicator = (reader.ReadUInt8() >> 5) & 1;
}
