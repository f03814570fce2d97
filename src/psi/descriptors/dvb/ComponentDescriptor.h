#pragma once
// component_descriptor (tag 0x50): kind and language of one stream component.
#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

class CComponentDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint8_t stream_content = 0;
  uint8_t component_type = 0;
  uint8_t component_tag = 0;
  LanguageCode language_code{};
  RawText<256> text;
};
