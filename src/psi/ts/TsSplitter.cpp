#include "psi/ts/TsSplitter.h"

#include <cstring>

namespace {

constexpr uint32_t kPrefetchDistance = 16 * kTsPacketSize;

uint32_t FindSync(const uint8_t* data, uint32_t from, uint32_t length) {
  const void* hit = std::memchr(data + from, kTsSyncByte, length - from);
  return hit ? static_cast<uint32_t>(static_cast<const uint8_t*>(hit) - data) : length;
}

}  // namespace

void CTsSplitter::Deliver(const uint8_t* packet) {
  ++m_nPackets;
  if (m_pFilter && !m_pFilter->test(((packet[1] & 0x1F) << 8) | packet[2]) && !(m_bUnitStarts && (packet[1] & 0x40)))
    return;
  OnPacket(packet, kTsPacketSize);
}

CTsSplitter::ScanResult CTsSplitter::Scan(const uint8_t* data, uint32_t length) {
  if (length == 0) return {0, false};
  uint32_t p = FindSync(data, 0, length);
  for (;;) {
    if (p == length) return {length, false};
    const uint32_t remaining = length - p;
    if (remaining < kTsPacketSize) return {p, true};
    // The last complete packet cannot be checked against a following sync byte.
    if (remaining == kTsPacketSize) {
      Deliver(data + p);
      return {length, true};
    }
    // Most packets are only looked at, not read: fetch the headers ahead of time.
    if (remaining > kPrefetchDistance) __builtin_prefetch(data + p + kPrefetchDistance);
    if (data[p] == kTsSyncByte && data[p + kTsPacketSize] == kTsSyncByte) {
      Deliver(data + p);
      p += kTsPacketSize;
      continue;
    }
    // Lost synchronisation: skip this run of sync bytes, resume at the next one.
    while (p < length && data[p] == kTsSyncByte) ++p;
    p = FindSync(data, p, length);
  }
}

bool CTsSplitter::ProcessBuffer() {
  const ScanResult result = Scan(Data(), Length());
  Consume(result.consumed);
  return result.synced;
}

bool CTsSplitter::Push(const uint8_t* data, uint32_t length) {
  if (length == 0) return ProcessBuffer();
  const uint32_t tail = Length();
  if (tail == 0) {
    const ScanResult result = Scan(data, length);
    Append(data + result.consumed, length - result.consumed);
    return result.synced;
  }
  // Complete the buffered packet with the first bytes of this delivery.
  if (tail < kTsPacketSize) {
    const uint32_t missing = kTsPacketSize - tail;
    if (length > missing && Data()[0] == kTsSyncByte && data[missing] == kTsSyncByte) {
      Append(data, missing);
      Deliver(Data());
      Consume(kTsPacketSize);
      return Push(data + missing, length - missing);
    }
  }
  Append(data, length);
  return ProcessBuffer();
}
