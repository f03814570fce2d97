#pragma once
// An elementary-stream clip split into its access units: one picture or one
// audio frame each, all of the same duration.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "SectionWriter.h"

namespace demo {

enum class Coding { None, Mpeg2Video, H264Video, MpegAudio, Ac3Audio };

struct Clip {
  std::vector<Bytes> units;
  uint32_t unitTicks;  // duration of one unit, 90 kHz
};

// Reads `path` as an elementary stream of `coding`; throws naming the file
// when it is missing or not such a stream.
Clip ReadClip(const std::filesystem::path& path, Coding coding);

// The PES stream_id that carries `coding` in DVB.
uint8_t PesStreamId(Coding coding);

}  // namespace demo
