#pragma once
// AC-3_descriptor of DVB (tag 0x6A): only its presence matters, it marks an AC-3 stream.
#include "psi/descriptors/Descriptor.h"

class CAc3AudioDvbDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
};
