#pragma once
// CA_descriptor (tag 0x09): the CA system and the PID of its ECM/EMM stream.
#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

class CConditionalAccessDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint16_t ca_system_id = 0;
  uint16_t ca_pid = 0;
  RawText<256> private_data;
};
