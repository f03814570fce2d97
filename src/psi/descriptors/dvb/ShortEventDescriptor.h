#pragma once
// short_event_descriptor (tag 0x4D): event name and short text in one language.
#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

class CShortEventDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  LanguageCode language_code{};
  RawText<256> event_name;
  RawText<256> text;
};
