#pragma once
// component_name_descriptor of ATSC A/65 (tag 0xA3): the name is a multiple string structure.
#include "psi/descriptors/NameDescriptor.h"

class CComponentNameDescriptor : public CNameDescriptor {
 public:
  using CNameDescriptor::CNameDescriptor;
};
