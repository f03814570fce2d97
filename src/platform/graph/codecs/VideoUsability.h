#pragma once
// The part of the H.264 and HEVC video usability information the picture
// format needs: sample aspect ratio and timing.
#include <cstdint>

#include "platform/graph/codecs/BitReader.h"

struct VideoUsability {
  uint32_t sarX = 1, sarY = 1;
  uint32_t unitsInTick = 0, timeScale = 0;
};

// Reads from the VUI's first field up to its timing information.
VideoUsability ReadVideoUsability(BitReader& bits, bool hevc);
