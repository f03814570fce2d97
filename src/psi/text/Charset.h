#pragma once
// Character-set conversion to UTF-16 through iconv.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The 8-bit set used where the broadcast does not name one.
inline constexpr const char* kDefault8BitCharset = "WINDOWS-1252";

// nullopt when the character set is unknown; bytes invalid in the set become U+FFFD.
std::optional<std::u16string> DecodeCharset(const char* charset, const uint8_t* bytes, size_t length);

// Decodes with charset, falling back to the default 8-bit set when charset is
// unknown; empty when neither can be used.
std::u16string DecodeWithFallback(const char* charset, const uint8_t* bytes, size_t length);
