#include "Channel/LanguageCode.h"

std::u16string LanguageText(const uint8_t code[3]) {
  std::u16string text;
  for (int i = 0; i < 3; ++i) {
    if (code[i] < 0x20 || code[i] > 0x7E) return {};
    text.push_back(static_cast<char16_t>(code[i]));
  }
  return text;
}
