#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Decodes a zero-terminated ISO/IEC 6937 text as DVB uses it by default.
// Fails (nullopt) on an undefined code, on an accent without a valid letter,
// and on text that uses upper-half characters but no accent at all: such
// text is more likely ISO/IEC 8859-15, and the caller decodes it that way.
std::optional<std::u16string> Iso6937ToString(const uint8_t* text);
