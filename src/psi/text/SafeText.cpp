#include "psi/text/SafeText.h"

#include <cstdio>

#include "platform/com/Utf.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char16_t kDvbLineBreak = 0xE08A;

bool IsDvbControlCode(char32_t c) { return c >= 0xE080 && c <= 0xE09F; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Calls emit(code point, its UTF-16 units) for each character; a lone surrogate comes as itself.
template <typename Emit>
void ForEachCharacter(std::u16string_view text, Emit emit) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t c = 0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      emit(c, text.substr(i, 2));
      ++i;
    } else {
      emit(char32_t{text[i]}, text.substr(i, 1));
    }
  }
}

}  // namespace

bool IsUnsafeCharacter(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
  if (c >= 0xD800 && c <= 0xDFFF) return true;
  return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

std::string SafeUtf8(std::u16string_view text, TextUse use) {
  std::u16string safe;
  safe.reserve(text.size());
  ForEachCharacter(text, [&](char32_t c, std::u16string_view units) {
    if (c == kDvbLineBreak) c = u'\n';
    else if (IsDvbControlCode(c)) return;
    if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;
    if (use != TextUse::Json) {
      if (c == u'\t' || (c == u'\n' && use == TextUse::Line)) c = u' ';
      else if (c != u'\n' && IsUnsafeCharacter(c)) return;
    }
    if (c > 0xFFFF) safe.append(units);
    else safe.push_back(static_cast<char16_t>(c));
  });
  return Utf16ToUtf8(safe);
}

std::string SafeUtf8(std::string_view latin1, TextUse use) {
  std::u16string text;
  for (char c : latin1) text.push_back(static_cast<unsigned char>(c));
  return SafeUtf8(text, use);
}

std::string EscapeUnsafeJson(std::string_view json) {
  const std::u16string text = Utf8ToUtf16(json);
  std::u16string escaped;
  escaped.reserve(text.size());
  ForEachCharacter(text, [&](char32_t c, std::u16string_view units) {
    // The writer has escaped the C0 controls in strings; the others are layout.
    if (c < 0x7F || !IsUnsafeCharacter(c)) {
      escaped.append(units);
      return;
    }
    for (char16_t unit : units) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(unit));
      escaped.append(code, code + 6);
    }
  });
  return Utf16ToUtf8(escaped);
}
