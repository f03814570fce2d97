#pragma once
// Builds long-form sections with a correct CRC_32 for tests.
#include <cstdint>
#include <vector>

#include "psi/ts/Crc32.h"

namespace psitest {

struct SectionSpec {
  uint8_t tableId = 0x00;
  uint16_t extension = 1;
  uint8_t version = 0;
  bool current = true;
  uint8_t sectionNumber = 0;
  uint8_t lastSectionNumber = 0;
  std::vector<uint8_t> body;
};

inline std::vector<uint8_t> BuildSection(const SectionSpec& s) {
  const uint16_t sectionLength = static_cast<uint16_t>(5 + s.body.size() + 4);
  std::vector<uint8_t> out = {s.tableId,
                              static_cast<uint8_t>(0xB0 | (sectionLength >> 8)),
                              static_cast<uint8_t>(sectionLength & 0xFF),
                              static_cast<uint8_t>(s.extension >> 8),
                              static_cast<uint8_t>(s.extension & 0xFF),
                              static_cast<uint8_t>(0xC0 | (s.version << 1) | (s.current ? 1 : 0)),
                              s.sectionNumber,
                              s.lastSectionNumber};
  out.insert(out.end(), s.body.begin(), s.body.end());
  const uint32_t crc = Crc32Mpeg2(out.data(), out.size());
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(crc >> shift));
  return out;
}

}  // namespace psitest
