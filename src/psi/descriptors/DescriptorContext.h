#pragma once
// Selects how the descriptor factory interprets tags: the same tag means
// different things in DVB SI and ATSC PSIP, and some loops are read as plain MPEG.
#include <cstdint>

enum DescriptorContext : uint32_t {
  DescriptorContext_Dvb = 0,
  DescriptorContext_Atsc = 1,
  DescriptorContext_Mpeg = 2,
};
