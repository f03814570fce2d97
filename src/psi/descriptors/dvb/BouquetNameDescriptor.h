#pragma once
// bouquet_name_descriptor (tag 0x47).
#include "psi/descriptors/NameDescriptor.h"

class CBouquetNameDescriptor : public CNameDescriptor {
 public:
  using CNameDescriptor::CNameDescriptor;
};
