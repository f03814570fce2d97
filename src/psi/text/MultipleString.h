#pragma once
// ATSC A/65 multiple string structure: strings in several languages, each
// made of segments that may be Huffman-compressed.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct MultipleString {
  std::array<uint8_t, 3> language_code{};
  std::vector<std::u16string> segments;  // one per decoded segment
};

// Segments with an unknown compression type or mode are skipped. A structure
// whose counts reach past count ends there, keeping the strings completed so far.
std::vector<MultipleString> MssParse(const uint8_t* bytes, size_t count);

// The first segment of the first string, or an empty string.
std::u16string MssFirstText(const uint8_t* bytes, size_t count);
