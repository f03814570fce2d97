#include "platform/graph/codecs/BitReader.h"
#include "platform/graph/codecs/VideoHeaders.h"
#include "platform/graph/codecs/VideoUsability.h"

namespace {
constexpr uint8_t kSpsNalType = 7;

bool HasChromaInfo(uint32_t profile) {
  switch (profile) {
    case 100: case 110: case 122: case 244: case 44: case 83: case 86: case 118: case 128: case 138: case 139:
    case 134: case 135: return true;
    default: return false;
  }
}

void SkipScalingList(BitReader& bits, int size) {
  int32_t last = 8, next = 8;
  for (int j = 0; j < size && next != 0; ++j) {
    next = (last + bits.Se() + 256) % 256;
    if (next != 0) last = next;
  }
}

bool ParseSps(BitReader& bits, VideoFormat* format) {
  const uint32_t profile = bits.Bits(8);
  bits.Bits(16);  // constraint flags, level
  bits.Ue();      // sps id
  uint32_t chromaFormat = 1;
  bool separatePlanes = false;
  if (HasChromaInfo(profile)) {
    chromaFormat = bits.Ue();
    if (chromaFormat == 3) separatePlanes = bits.Flag();
    bits.Ue();
    bits.Ue();    // bit depths
    bits.Flag();  // lossless bypass
    if (bits.Flag())
      for (int i = 0; i < (chromaFormat != 3 ? 8 : 12); ++i)
        if (bits.Flag()) SkipScalingList(bits, i < 6 ? 16 : 64);
  }
  bits.Ue();  // log2 max frame number
  const uint32_t pocType = bits.Ue();
  if (pocType == 0) {
    bits.Ue();
  } else if (pocType == 1) {
    bits.Flag();
    bits.Se();
    bits.Se();
    const uint32_t cycle = bits.Ue();
    for (uint32_t i = 0; i < cycle && !bits.Overrun(); ++i) bits.Se();
  }
  bits.Ue();    // reference frames
  bits.Flag();  // gaps allowed
  const uint32_t widthMbs = bits.Ue() + 1;
  const uint32_t heightUnits = bits.Ue() + 1;
  const bool frameMbsOnly = bits.Flag();
  if (!frameMbsOnly) bits.Flag();
  bits.Flag();  // direct 8x8 inference
  uint32_t cropLeft = 0, cropRight = 0, cropTop = 0, cropBottom = 0;
  if (bits.Flag()) {
    cropLeft = bits.Ue();
    cropRight = bits.Ue();
    cropTop = bits.Ue();
    cropBottom = bits.Ue();
  }
  const bool monochrome = chromaFormat == 0 || separatePlanes;
  const uint32_t cropX = monochrome ? 1 : (chromaFormat == 3 ? 1 : 2);
  const uint32_t cropY = (monochrome ? 1 : (chromaFormat == 1 ? 2 : 1)) * (frameMbsOnly ? 1 : 2);
  const int64_t width = int64_t{widthMbs} * 16 - int64_t{cropX} * (cropLeft + cropRight);
  const int64_t height = int64_t{heightUnits} * 16 * (frameMbsOnly ? 1 : 2) - int64_t{cropY} * (cropTop + cropBottom);
  if (bits.Overrun() || width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
  format->width = static_cast<int32_t>(width);
  format->height = static_cast<int32_t>(height);

  VideoUsability vui;
  if (bits.Flag()) vui = ReadVideoUsability(bits, /*hevc=*/false);
  if (bits.Overrun()) vui = VideoUsability{};
  SetPictureAspect(format, vui.sarX, vui.sarY);
  // A frame is two field ticks.
  if (vui.timeScale && vui.unitsInTick) format->frameDuration = int64_t{vui.unitsInTick} * 2 * 10'000'000 / vui.timeScale;
  return true;
}
}  // namespace

bool ParseH264Sps(const uint8_t* data, size_t size, VideoFormat* format) {
  for (size_t at = FindStartCode(data, size, 0); at < size; at = FindStartCode(data, size, at + 3)) {
    if (at + 4 >= size || (data[at + 3] & 0x1F) != kSpsNalType) continue;
    const size_t end = FindStartCode(data, size, at + 3);
    if (end == size) return false;  // the unit may not be complete yet
    const std::vector<uint8_t> rbsp = RbspOf(data + at + 4, end - at - 4);
    BitReader bits(rbsp.data(), rbsp.size());
    if (ParseSps(bits, format)) return true;
  }
  return false;
}
