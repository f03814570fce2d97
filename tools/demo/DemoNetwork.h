#pragma once
// The demo network: three DVB-T multiplexes of one terrestrial network.
#include <filesystem>
#include <string>
#include <vector>

#include "Clip.h"
#include "SectionWriter.h"

namespace demo {

struct Stream {
  uint8_t streamType;
  uint16_t pid;
  std::vector<Bytes> descriptors;
  Coding coding = Coding::None;
  std::string clip;  // the elementary stream it carries, in the clip directory
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
// The length of a multiplex file and of every clip in it: whole numbers of
// pictures (40 ms), MPEG audio frames (24 ms) and AC-3 frames (32 ms).
constexpr uint32_t kLoopTicks = 3840 * 90;  // 3.84 s at 90 kHz

// The transport stream of muxes[index] at `bitrate`, its streams read from `clips`.
Bytes BuildMux(const std::vector<Mux>& muxes, size_t index, const std::filesystem::path& clips, uint32_t bitrate);

}  // namespace demo
