#pragma once
// network_name_descriptor (tag 0x40).
#include "psi/descriptors/NameDescriptor.h"

class CNetworkNameDescriptor : public CNameDescriptor {
 public:
  using CNameDescriptor::CNameDescriptor;
};
