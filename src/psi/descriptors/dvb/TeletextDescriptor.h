#pragma once
// teletext_descriptor (tag 0x56): the teletext pages carried by a stream.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct TeletextEntry {
  LanguageCode language_code{};
  uint8_t teletext_type = 0;
  uint8_t magazine_number = 0;
  uint8_t page_number = 0;  // two BCD digits
};

class CTeletextDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<TeletextEntry> entries;
};
