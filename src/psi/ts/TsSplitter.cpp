#include "psi/ts/TsSplitter.h"

#include <cstring>

namespace {

uint32_t FindSync(const uint8_t* data, uint32_t from, uint32_t length) {
  const void* hit = std::memchr(data + from, kTsSyncByte, length - from);
  return hit ? static_cast<uint32_t>(static_cast<const uint8_t*>(hit) - data) : length;
}

}  // namespace

void CTsSplitter::Deliver(const uint8_t* packet) {
  std::memcpy(m_packet.data(), packet, kTsPacketSize);
  OnPacket(m_packet.data(), kTsPacketSize);
}

bool CTsSplitter::ProcessBuffer() {
  uint32_t length = Length();
  if (length == 0) return false;
  const uint32_t first = FindSync(Data(), 0, length);
  if (first == length) {
    Consume(length);
    return false;
  }
  Consume(first);

  const uint8_t* start = Data();
  length = Length();
  uint32_t p = 0;
  uint32_t processed = 0;
  while (p < length) {
    const uint32_t remaining = length - p;
    if (remaining <= kTsPacketSize) {
      // The last complete packet cannot be checked against a following sync byte.
      if (remaining == kTsPacketSize) {
        Deliver(start + p);
        processed += kTsPacketSize;
      }
      break;
    }
    if (start[p] == kTsSyncByte && start[p + kTsPacketSize] == kTsSyncByte) {
      Deliver(start + p);
      p += kTsPacketSize;
      processed += kTsPacketSize;
      continue;
    }
    // Lost synchronisation: skip this run of sync bytes, resume at the next one.
    while (p < length && start[p] == kTsSyncByte) ++p;
    p = p < length ? FindSync(start, p, length) : length;
    if (p == length) {
      Consume(length);
      return false;
    }
    Consume(p);
    start = Data();
    length = Length();
    p = 0;
    processed = 0;
  }
  Consume(processed);
  return true;
}
