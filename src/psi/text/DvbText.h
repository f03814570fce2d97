#pragma once
// DVB SI text (ETSI EN 300 468 Annex A): the optional first byte selects the
// character table. Never fails: text that cannot be converted comes back in
// the default 8-bit set, or empty.
#include <cstddef>
#include <cstdint>
#include <string>

std::u16string DvbTextToString(const uint8_t* bytes, size_t length);
