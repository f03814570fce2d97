#pragma once
// Broadcast text is untrusted: what a broadcaster sends must neither steer the
// terminal (escape sequences) nor break an XML file (characters XML 1.0 does
// not allow). This is the one place that decides what an output may carry.
#include <string>
#include <string_view>

enum class TextUse {
  Line,       // a name or a title on one line: line breaks become spaces
  Paragraph,  // a description: line breaks stay
  Json,       // JSON escapes control characters itself (see EscapeUnsafeJson)
};

// C0 and C1 control characters, DEL, surrogates and the Unicode non-characters.
bool IsUnsafeCharacter(char32_t c);

// The UTF-8 of decoded broadcast text for one use. DVB's own control codes of
// the two-byte tables (U+E080..U+E09F) are applied in every use: the line
// break becomes a newline, the emphasis codes go. For Line and Paragraph,
// tabs become spaces and every other unsafe character is dropped; for Json
// they stay and only a lone surrogate becomes U+FFFD.
std::string SafeUtf8(std::u16string_view text, TextUse use);
// Bytes read as ISO 8859-1, such as the letters of a language code.
std::string SafeUtf8(std::string_view latin1, TextUse use);

// A JSON document (a JSON writer's output) with the unsafe characters that
// writers leave raw, DEL, C1 controls and non-characters, escaped as \uXXXX.
std::string EscapeUnsafeJson(std::string_view json);
