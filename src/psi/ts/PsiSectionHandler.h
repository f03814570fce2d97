#pragma once
#include <cstdint>

// Receives assembled sections. length counts the bytes available from data:
// at least the section's total length, possibly more.
class IPsiSectionHandler {
 public:
  virtual ~IPsiSectionHandler() = default;
  virtual bool OnSectionData(uint16_t pid, const uint8_t* data, uint32_t length) = 0;
};
