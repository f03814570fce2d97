#pragma once
// Decodes a Huffman-compressed segment of an ATSC multiple string structure
// (A/65 Annex C) with one of the decode tables of AtscHuffmanTables.h.
// A string whose bits run out before the terminating character is empty.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

std::u16string AtscHuffmanDecode(const uint8_t* bytes, size_t count, std::span<const uint8_t> table);
