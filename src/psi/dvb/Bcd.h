#pragma once
#include <cstdint>

// BCD digits read as a decimal number (leading zero digits change nothing).
inline uint32_t BcdToDecimal(uint32_t bcd) {
  uint32_t value = 0;
  for (int shift = 28; shift >= 0; shift -= 4) value = value * 10 + ((bcd >> shift) & 0xF);
  return value;
}
