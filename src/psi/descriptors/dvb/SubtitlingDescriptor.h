#pragma once
// subtitling_descriptor (tag 0x59): DVB subtitle pages of a stream.
#include <vector>

#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

struct SubtitlingEntry {
  LanguageCode language_code{};
  uint8_t subtitling_type = 0;
  uint16_t composition_page_id = 0;
  uint16_t ancillary_page_id = 0;
};

class CSubtitlingDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  std::vector<SubtitlingEntry> entries;
};
