#include "psi/descriptors/dvb/PdcDescriptor.h"

void CPdcDescriptor::Parse(CPsiStream& reader) {
  pil_high = reader.ReadUInt16();
  pil_low = reader.ReadUInt8();
}
