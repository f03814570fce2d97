#pragma once
// The first-order Huffman decode tables of ATSC A/65 Annex C: 128 big-endian
// tree offsets, one per previous character, followed by the trees.
#include <array>
#include <cstdint>

// compression_type 1: program titles.
extern const std::array<uint8_t, 1940> kAtscHuffmanTitleTable;
// compression_type 2: program descriptions.
extern const std::array<uint8_t, 1782> kAtscHuffmanDescriptionTable;
