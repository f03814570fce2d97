#include "psi/text/AtscHuffman.h"

#include <optional>

namespace {

constexpr uint8_t kEndOfString = 0;
constexpr uint8_t kEscape = 27;

class BitReader {
 public:
  BitReader(const uint8_t* bytes, size_t count) : m_pBytes(bytes), m_nBits(count * 8) {}

  std::optional<uint8_t> Bit() {
    if (m_nPos >= m_nBits) return std::nullopt;
    const uint8_t bit = (m_pBytes[m_nPos / 8] >> (7 - m_nPos % 8)) & 1;
    ++m_nPos;
    return bit;
  }

  std::optional<uint8_t> Byte() {
    uint8_t value = 0;
    for (int i = 0; i < 8; ++i) {
      const auto bit = Bit();
      if (!bit) return std::nullopt;
      value = static_cast<uint8_t>((value << 1) | *bit);
    }
    return value;
  }

 private:
  const uint8_t* m_pBytes;
  size_t m_nBits;
  size_t m_nPos = 0;
};

// Walks the tree of the previous character to a leaf; nullopt when the bits
// run out or the table does not hold the node.
std::optional<uint8_t> NextCharacter(BitReader& bits, std::span<const uint8_t> table, uint8_t previous) {
  const size_t offsetAt = size_t{previous} * 2;
  if (offsetAt + 1 >= table.size()) return std::nullopt;
  const size_t tree = (size_t{table[offsetAt]} << 8) | table[offsetAt + 1];
  uint8_t node = 0;
  for (;;) {
    const auto bit = bits.Bit();
    if (!bit) return std::nullopt;
    const size_t at = tree + size_t{node} * 2 + *bit;
    if (at >= table.size()) return std::nullopt;
    const uint8_t entry = table[at];
    if (entry & 0x80) return entry & 0x7F;
    node = entry;
  }
}

}  // namespace

std::u16string AtscHuffmanDecode(const uint8_t* bytes, size_t count, std::span<const uint8_t> table) {
  if (!bytes || count == 0) return {};
  BitReader bits(bytes, count);
  std::u16string text;
  uint8_t previous = 0;
  for (;;) {
    auto character = NextCharacter(bits, table, previous);
    if (!character) return {};
    if (*character == kEndOfString) return text;
    if (*character == kEscape) {
      // An uncompressed 8-bit literal follows; its low 7 bits are the character.
      const auto literal = bits.Byte();
      if (!literal) return {};
      character = *literal & 0x7F;
    }
    text.push_back(static_cast<char16_t>(*character));
    previous = *character;
  }
}
