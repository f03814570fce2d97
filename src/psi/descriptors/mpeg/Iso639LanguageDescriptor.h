#pragma once
// ISO_639_language_descriptor (tag 0x0A): languages of an elementary stream.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct Iso639Language {
  LanguageCode language_code{};
  uint8_t audio_type = 0;
};

class CIso639LanguageDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<Iso639Language> entries;
};
