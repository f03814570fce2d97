#pragma once
// cable_delivery_system_descriptor (tag 0x44). Frequency and symbol rate stay BCD.
#include "psi/descriptors/Descriptor.h"

class CCableDeliverySystemDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint32_t frequency = 0;  // 8 BCD digits, 100 Hz units
  uint8_t fec_outer = 0;
  uint8_t modulation = 0;
  uint32_t symbol_rate = 0;  // 7 BCD digits, 100 symbol/s units
  uint8_t fec_inner = 0;
};
