#pragma once
// AC-3 audio_stream_descriptor of ATSC A/52 Annex A (tag 0x81).
#include "psi/descriptors/Descriptor.h"
#include "psi/descriptors/RawText.h"

class CAc3AudioAtscDescriptor : public CDescriptor {
 public:
  using CDescriptor::CDescriptor;
  void Parse(CPsiStream& reader) override;

  uint8_t sample_rate_code = 0;
  uint8_t bit_rate_code = 0;
  uint8_t num_channels = 0;
  uint8_t language_code = 0;    // langcod
  uint8_t language_code_2 = 0;  // langcod2, only for dual mono (num_channels 0)
  uint8_t text_code = 0;
  RawText<256> text;  // text.length is text_length
};
