#include "platform/graph/codecs/VideoUsability.h"

namespace {
constexpr uint32_t kExtendedSar = 255;
constexpr uint32_t kSampleAspect[][2] = {{0, 0},   {1, 1},   {12, 11}, {10, 11}, {16, 11},  {40, 33},
                                         {24, 11}, {20, 11}, {32, 11}, {80, 33}, {18, 11},  {15, 11},
                                         {64, 33}, {160, 99}, {4, 3},  {3, 2},   {2, 1}};
}  // namespace

VideoUsability ReadVideoUsability(BitReader& bits, bool hevc) {
  VideoUsability vui;
  if (bits.Flag()) {
    const uint32_t idc = bits.Bits(8);
    if (idc == kExtendedSar) {
      vui.sarX = bits.Bits(16);
      vui.sarY = bits.Bits(16);
    } else if (idc > 0 && idc < sizeof kSampleAspect / sizeof kSampleAspect[0]) {
      vui.sarX = kSampleAspect[idc][0];
      vui.sarY = kSampleAspect[idc][1];
    }
  }
  if (bits.Flag()) bits.Flag();  // overscan
  if (bits.Flag()) {             // video signal type
    bits.Bits(4);
    if (bits.Flag()) bits.Bits(24);
  }
  if (bits.Flag()) {  // chroma location
    bits.Ue();
    bits.Ue();
  }
  if (hevc) {
    bits.Bits(3);  // neutral chroma, field sequence, frame field info
    if (bits.Flag())
      for (int i = 0; i < 4; ++i) bits.Ue();  // default display window
  }
  if (bits.Flag()) {
    vui.unitsInTick = bits.Bits(32);
    vui.timeScale = bits.Bits(32);
  }
  return vui;
}
