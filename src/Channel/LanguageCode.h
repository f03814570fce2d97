#pragma once
// The text of a three-byte ISO 639 language code as channels and PID
// information carry it.
#include <cstdint>
#include <string>

#include "psi/descriptors/LanguageCode.h"

// Empty unless all three bytes are printable ASCII.
inline std::u16string LanguageText(const uint8_t code[3]) {
  const std::string text = LanguageCodeText(code);
  return {text.begin(), text.end()};
}
