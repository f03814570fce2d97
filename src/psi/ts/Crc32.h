#pragma once
// CRC-32 of MPEG-2 systems (polynomial 0x04C11DB7, MSB first, no reflection,
// no final inversion). Run over a whole section including its CRC_32 field,
// the result is 0 when the section is intact.
#include <cstddef>
#include <cstdint>

uint32_t Crc32Mpeg2(const uint8_t* data, size_t length, uint32_t crc = 0xFFFFFFFF);
