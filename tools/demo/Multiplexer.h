#pragma once
// Lays out one multiplex file: PSI/SI tables repeated at their intervals,
// sections packed back to back as multiplexers do, PES packets at their
// sending times, PCR packets, and null packets up to the bitrate. Every PID
// with payload ends on a continuity counter that continues seamlessly when
// the file is played in a loop.
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
  // Sends the PES packet `pes` on `pid` from `time` on; its last byte must
  // be sent by `deadline` (seconds, the PCR's time).
  void AddPes(uint16_t pid, Bytes pes, double time, double deadline);
  // Sends a PCR on `pid` every `intervalMs`.
  void AddPcr(uint16_t pid, int intervalMs);
  // The whole file; throws when its content does not fit the bitrate.
  Bytes Build();

 private:
  struct Burst {
    double time;
    double deadline;
    uint16_t pid;
    std::vector<Bytes> sections;  // a table's, or else
    Bytes pes;                    // one PES packet
    std::vector<Bytes> packets;
  };
  void Packetize(Burst& burst, size_t packetCount = 0);
  void RoundUpToWholeCounterCycles();
  Bytes PcrPacket(uint16_t pid, double time, bool discontinuity);

  uint32_t m_bitrate;
  double m_seconds;
  std::vector<Burst> m_bursts;
  std::map<uint16_t, int> m_pcrIntervals;
};

}  // namespace demo
