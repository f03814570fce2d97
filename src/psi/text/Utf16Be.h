#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// UTF-16 big-endian code units to a string; an odd last byte is ignored.
std::u16string Utf16BeToString(const uint8_t* bytes, size_t count);
