#pragma once
// The text of a three-byte ISO 639 language code.
#include <cstdint>
#include <string>

// The three characters, or an empty string unless all three are printable
// ASCII: a code of zeros (no language descriptor) or broadcast junk must not
// reach a channel or the log as NULs or control characters.
inline std::string LanguageCodeText(const uint8_t code[3]) {
  std::string text;
  for (int i = 0; i < 3; ++i) {
    if (code[i] < 0x20 || code[i] > 0x7E) return {};
    text.push_back(static_cast<char>(code[i]));
  }
  return text;
}
