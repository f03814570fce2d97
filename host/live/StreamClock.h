#pragma once
// Stream time: how much programme the packets seen so far carry, read from
// the PCRs of the first PID that has them. A jump (a looping file, a new
// multiplex) counts as no time, so the clock only moves forward.
#include <cstdint>
#include <optional>

class StreamClock {
 public:
  // One 188-byte packet.
  void OnPacket(const uint8_t* packet);
  bool HasPcr() const { return m_lastPcr.has_value(); }
  double Seconds() const { return static_cast<double>(m_elapsed) / 90000.0; }

 private:
  int m_pcrPid = -1;
  std::optional<uint64_t> m_lastPcr;  // 90 kHz
  uint64_t m_elapsed = 0;             // 90 kHz
};
