#pragma once
// Cuts 188-byte transport stream packets out of a byte stream and hands each
// one to OnPacket where it lies (in the delivery or in the buffer).
//
// Usage: Push each delivery (or Append it and call ProcessBuffer). An
// incomplete packet at the end stays buffered and is completed by the next
// delivery, so do not Reset between deliveries (Reset is for a new stream).
#include <bitset>
#include <cstdint>

#include "psi/ts/BufferT.h"
#include "psi/ts/TsPacketHeader.h"

class CTsSplitter : public CBufferT<65536> {
 public:
  // Hands on every complete buffered packet. Returns false when no sync byte
  // was found or synchronisation was lost with no further sync byte in the
  // buffer; the bytes examined are then dropped, since none of them can start
  // a packet.
  virtual bool ProcessBuffer();
  // The same for one delivery, without copying it: only the packet cut at its
  // end is buffered (and the whole delivery when it loses sync across a cut).
  bool Push(const uint8_t* data, uint32_t length);

 protected:
  virtual void OnPacket(const uint8_t* packet, uint32_t size) {}
  // From now on only the packets of pids (and, with unitStarts, every packet
  // that starts a payload unit) reach OnPacket; without a filter all do.
  // Most packets of a stream are audio and video: they cost no call then.
  void SetPacketFilter(const std::bitset<8192>* pids, bool unitStarts) {
    m_pFilter = pids;
    m_bUnitStarts = unitStarts;
  }
  // Every packet found so far, whether it passed the filter or not.
  uint64_t PacketCount() const { return m_nPackets; }

 private:
  void Deliver(const uint8_t* packet);

  struct ScanResult {
    uint32_t consumed;  // bytes handed on or dropped; the rest starts a packet
    bool synced;
  };
  // One forward pass: every byte is looked at a bounded number of times.
  ScanResult Scan(const uint8_t* data, uint32_t length);

  const std::bitset<8192>* m_pFilter = nullptr;
  bool m_bUnitStarts = false;
  uint64_t m_nPackets = 0;
};
