#pragma once
// service_list_descriptor (tag 0x41): the services of a transport stream.
#include <vector>

#include "psi/descriptors/Descriptor.h"

struct ServiceListEntry {
  uint16_t service_id = 0;
  uint8_t service_type = 0;
};

class CServiceListDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<ServiceListEntry> entries;
};
