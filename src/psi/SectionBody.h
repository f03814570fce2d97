#pragma once
// The parse pattern shared by every section class: validate the header and
// CRC, then read the body through a bounds-checked reader limited to the
// section; a read past its end fails the whole section.
#include <cstdint>

#include "psi/ts/PsiSection.h"
#include "psi/ts/PsiStream.h"

template <typename TReadBody>
bool ParseSectionBody(CPsiSection& section, const uint8_t* data, uint32_t length, TReadBody readBody) {
  if (!section.CPsiSection::Parse(data, length)) return false;
  try {
    CPsiStream reader(data, section.total_length);  // Parse checked that length covers it
    readBody(reader);
    return true;
  } catch (const CPsiStreamException&) {
    return false;
  }
}
