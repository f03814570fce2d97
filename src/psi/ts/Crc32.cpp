#include "psi/ts/Crc32.h"

#include <array>

namespace {

using Tables = std::array<std::array<uint32_t, 256>, 8>;

// Table 0 is the classic byte-at-a-time table; table k advances a byte by k
// more zero bytes, so eight bytes are folded in per step ("slicing by 8").
constexpr Tables MakeTables() {
  Tables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i << 24;
    for (int bit = 0; bit < 8; ++bit) c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : c << 1;
    tables[0][i] = c;
  }
  for (size_t k = 1; k < tables.size(); ++k)
    for (uint32_t i = 0; i < 256; ++i)
      tables[k][i] = (tables[k - 1][i] << 8) ^ tables[0][tables[k - 1][i] >> 24];
  return tables;
}

constexpr Tables kTables = MakeTables();

}  // namespace

uint32_t Crc32Mpeg2(const uint8_t* data, size_t length, uint32_t crc) {
  const auto& t = kTables;
  for (; length >= 8; data += 8, length -= 8) {
    const uint32_t high = crc ^ (uint32_t{data[0]} << 24 | uint32_t{data[1]} << 16 | uint32_t{data[2]} << 8 | data[3]);
    crc = t[7][high >> 24] ^ t[6][(high >> 16) & 0xFF] ^ t[5][(high >> 8) & 0xFF] ^ t[4][high & 0xFF] ^
          t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
  }
  for (; length > 0; ++data, --length) crc = (crc << 8) ^ t[0][((crc >> 24) ^ *data) & 0xFF];
  return crc;
}
