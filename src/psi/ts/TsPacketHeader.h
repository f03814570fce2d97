#pragma once
// The 4-byte header of one 188-byte transport stream packet, decoded far
// enough to locate the payload behind an optional adaptation field.
#include <cstdint>

inline constexpr uint8_t kTsSyncByte = 0x47;
inline constexpr uint32_t kTsPacketSize = 188;

struct TsPacketHeader {
  // Leaves every field zero (no payload) unless bytes hold a packet with its sync byte.
  void Decode(const uint8_t* bytes, uint32_t size);

  const uint8_t* payload = nullptr;
  const uint8_t* packet = nullptr;
  uint32_t payload_length = 0;
  uint16_t pid = 0;
  bool transport_error_indicator = false;
  bool payload_unit_start_indicator = false;
  uint8_t continuity_counter = 0;
  // From the adaptation field: the continuity counter may jump here.
  bool discontinuity_indicator = false;
};
