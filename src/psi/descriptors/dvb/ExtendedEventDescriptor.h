#pragma once
// extended_event_descriptor (tag 0x4E): itemised and free event text, one
// descriptor of a numbered series.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct ExtendedEventItem {
  RawText<256> item_description;
  RawText<256> item;
};

class CExtendedEventDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint8_t descriptor_number = 0;
  uint8_t last_descriptor_number = 0;
  LanguageCode language_code{};
  std::vector<ExtendedEventItem> items;
  RawText<256> text;
};
