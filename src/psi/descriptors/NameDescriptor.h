#pragma once
// Descriptors whose whole body is one name, kept raw: DVB network and
// bouquet names, ATSC component names.
#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

class CNameDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  RawText<256> name;  // name.length is name_length
};
