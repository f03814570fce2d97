#pragma once
// Cuts 188-byte transport stream packets out of the buffered bytes and hands
// each one, as a copy, to OnPacket.
//
// Usage: Append each delivery, then ProcessBuffer. An incomplete packet at the
// end stays buffered and is completed by the next delivery, so do not Reset
// between deliveries (Reset is for a new stream).
#include <array>
#include <cstdint>

#include "psi/ts/BufferT.h"
#include "psi/ts/TsPacketHeader.h"

class CTsSplitter : public CBufferT<65536> {
 public:
  // Hands on every complete packet. Returns false when no sync byte was found
  // or synchronisation was lost with no further sync byte in the buffer; the
  // bytes examined are then dropped, since none of them can start a packet.
  virtual bool ProcessBuffer();

 protected:
  virtual void OnPacket(const uint8_t* packet, uint32_t size) {}

 private:
  void Deliver(const uint8_t* packet);

  std::array<uint8_t, kTsPacketSize> m_packet{};
};
