#pragma once
// service_descriptor (tag 0x48): service type, provider and service name (raw DVB text).
#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

class CServiceDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint8_t service_type = 0;
  RawText<256> service_provider_name;
  RawText<256> service_name;
};
