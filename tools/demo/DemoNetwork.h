#pragma once
// The demo network: three DVB-T multiplexes of one terrestrial network.
#include <string>
#include <vector>

#include "SectionWriter.h"

namespace demo {

struct Stream {
  uint8_t streamType;
  uint16_t pid;
  std::vector<Bytes> descriptors;
};

struct Service {
  uint16_t serviceId;
  uint8_t serviceType;  // 0x01 TV, 0x02 radio, 0x19 H.264 HD TV
  std::string provider;  // DVB text bytes, selector included
  std::string name;
  uint16_t pmtPid;
  uint16_t pcrPid;
  bool scrambled;
  std::vector<Stream> streams;
  std::vector<std::string> programmes;  // titles of the day, in a loop
};

struct Mux {
  uint16_t transportStreamId;
  uint32_t frequencyKHz;
  std::vector<Service> services;
};

constexpr uint16_t kNetworkId = 0x22F1;  // the network that originates the streams
constexpr uint16_t kOriginalNetworkId = 0x22F1;
// The time the recording shows: 2026-12-10 12:20:00 UTC.
constexpr int64_t kNow = 1796860800 + 12 * 3600 + 20 * 60;

std::vector<Mux> DemoMuxes();
// The transport stream of muxes[index], `seconds` long at `bitrate`.
Bytes BuildMux(const std::vector<Mux>& muxes, size_t index, uint32_t bitrate, double seconds);

}  // namespace demo
