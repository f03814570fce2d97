#pragma once
// PDC_descriptor (tag 0x69): the programme identification label, undecoded.
#include "psi/descriptors/Descriptor.h"

class CPdcDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint16_t pil_high = 0;  // body bytes 0 and 1 (4 reserved bits, then day, month, hour)
  uint8_t pil_low = 0;    // body byte 2
};
