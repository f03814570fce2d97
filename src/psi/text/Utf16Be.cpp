#include "psi/text/Utf16Be.h"

std::u16string Utf16BeToString(const uint8_t* bytes, size_t count) {
  std::u16string text;
  if (!bytes) return text;
  text.reserve(count / 2);
  for (size_t i = 0; i + 1 < count; i += 2) text.push_back(static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1]));
  return text;
}
