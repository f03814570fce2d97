#pragma once
// One section of an ATSC extended text table: the long text of a channel or event.
#include <cstdint>

#include "psi/descriptors/RawText.h"
#include "psi/ts/PsiSection.h"

// An ETT section holds at most 4093 - 14 text bytes, so the text stays NUL-terminated.
using EttText = RawText<4096, uint16_t>;

class CEttSection : public CPsiSection {
 public:
  bool Parse(const uint8_t* data, uint32_t length) override;

  uint32_t etm_id = 0;  // source_id << 16 | event_id << 2 | 2 for an event's text
  EttText text;         // multiple string structure, raw; text.length is text_length
};
