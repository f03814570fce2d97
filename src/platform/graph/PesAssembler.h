#pragma once
// Collects the payload of one PID's PES packets from its transport packets.
// A packet lost in between (continuity counter) drops the PES packet it was
// part of; delivery starts at the first PES packet that begins.
#include <cstdint>
#include <functional>
#include <vector>

#include "psi/ts/TsPacketHeader.h"

class PesAssembler {
 public:
  using Sink = std::function<void(const uint8_t* payload, size_t size)>;

  // Hands every completed PES payload to `sink`.
  void Add(const TsPacketHeader& packet, const Sink& sink);
  // Hands on what is collected (the stream ends: no next start will come).
  void Finish(const Sink& sink);
  void Reset();

 private:
  void Start(const uint8_t* data, uint32_t size);

  std::vector<uint8_t> m_pes;  // the PES packet so far, header included
  bool m_collecting = false;
  int m_nextCounter = -1;
};
