#pragma once
// satellite_delivery_system_descriptor (tag 0x43). Frequency, orbital
// position and symbol rate stay BCD as broadcast.
#include "psi/descriptors/Descriptor.h"

class CSatelliteDeliverySystemDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint32_t frequency = 0;         // 8 BCD digits, 10 kHz units
  uint16_t orbital_position = 0;  // 4 BCD digits, 0.1 degree units
  uint8_t west_east_flag = 0;
  uint8_t polarization = 0;
  uint8_t modulation_system = 0;  // 1 = DVB-S2
  uint8_t modulation_type = 0;
  uint32_t symbol_rate = 0;  // 7 BCD digits, 100 symbol/s units
  uint8_t fec_inner = 0;
  uint8_t roll_off = 0;  // only meaningful for DVB-S2
};
