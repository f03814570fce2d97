#pragma once
// S2_satellite_delivery_system_descriptor (tag 0x79): only the backwards
// compatibility indicator is used.
#include "psi/descriptors/Descriptor.h"

class CDvbS2SatelliteDeliverySystemDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint8_t backwards_compatibility_indicator = 0;
};
