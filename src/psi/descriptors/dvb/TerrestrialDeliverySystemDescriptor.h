#pragma once
// terrestrial_delivery_system_descriptor (tag 0x5A): centre frequency and bandwidth.
#include "psi/descriptors/Descriptor.h"

class CTerrestrialDeliverySystemDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint32_t centre_frequency = 0;  // binary, 10 Hz units; all ones: not given
  bool FrequencyGiven() const { return centre_frequency != 0xFFFFFFFF; }
  uint8_t bandwidth = 0;          // 0 = 8, 1 = 7, 2 = 6, 3 = 5 MHz
};
