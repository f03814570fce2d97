#pragma once
// Lays out one multiplex file: PSI/SI tables repeated at their intervals,
// sections packed back to back as multiplexers do, PCR packets, and null
// packets up to the bitrate. Every PID with payload ends on a continuity
// counter that continues seamlessly when the file is played in a loop.
#include <cstdint>
#include <map>
#include <vector>

#include "SectionWriter.h"

namespace demo {

class Multiplexer {
 public:
  Multiplexer(uint32_t bitrate, double seconds) : m_bitrate(bitrate), m_seconds(seconds) {}

  // Sends `sections` on `pid` every `intervalMs`, first at `offsetMs`.
  void AddTable(uint16_t pid, std::vector<Bytes> sections, int intervalMs, int offsetMs);
  // Sends a PCR on `pid` every `intervalMs`.
  void AddPcr(uint16_t pid, int intervalMs);
  // The whole file; throws when the tables do not fit the bitrate.
  Bytes Build();

 private:
  struct Burst {
    double time;
    uint16_t pid;
    std::vector<Bytes> sections;
    std::vector<Bytes> packets;
  };
  std::vector<Bytes> Packetize(uint16_t pid, const std::vector<Bytes>& sections);
  Bytes StuffingPacket(uint16_t pid);
  Bytes PcrPacket(uint16_t pid, double time, bool discontinuity);
  Bytes NullPacket();

  uint32_t m_bitrate;
  double m_seconds;
  std::vector<Burst> m_bursts;
  std::map<uint16_t, int> m_pcrIntervals;
  std::map<uint16_t, uint8_t> m_cc;
};

}  // namespace demo
