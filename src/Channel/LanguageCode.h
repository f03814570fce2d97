#pragma once
// The text of a three-byte ISO 639 language code as channels and PID
// information carry it.
#include <cstdint>
#include <string>

// The three characters, or an empty string unless all three are printable
// ASCII: a code of zeros (no language descriptor) or broadcast junk must not
// reach a channel as NULs or control characters.
std::u16string LanguageText(const uint8_t code[3]);
