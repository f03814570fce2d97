#include "psi/ts/TsPacketHeader.h"

void TsPacketHeader::Decode(const uint8_t* bytes, uint32_t size) {
  *this = TsPacketHeader{};
  if (!bytes || size < kTsPacketSize || bytes[0] != kTsSyncByte) return;
  packet = bytes;
  transport_error_indicator = (bytes[1] & 0x80) != 0;
  payload_unit_start_indicator = (bytes[1] & 0x40) != 0;
  pid = static_cast<uint16_t>(((bytes[1] & 0x1F) << 8) | bytes[2]);
  continuity_counter = bytes[3] & 0x0F;

  const uint8_t adaptationFieldControl = (bytes[3] >> 4) & 3;
  // The adaptation field's length byte counts itself.
  const uint32_t adaptationLength = (adaptationFieldControl & 2) ? bytes[4] + 1u : 0u;
  discontinuity_indicator = adaptationLength > 1 && (bytes[5] & 0x80) != 0;
  if ((adaptationFieldControl & 1) && adaptationLength < 184) {
    payload_length = 184 - adaptationLength;
    payload = bytes + 4 + adaptationLength;
  }
}
