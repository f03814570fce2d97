#pragma once
// linkage_descriptor (tag 0x4A): only the linked service's identifiers are kept.
#include "psi/descriptors/Descriptor.h"

class CLinkageDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint16_t transport_stream_id = 0;
  uint16_t original_network_id = 0;
  uint16_t service_id = 0;
};
