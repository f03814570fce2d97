#include <algorithm>

#include "platform/graph/codecs/BitReader.h"
#include "platform/graph/codecs/VideoHeaders.h"
#include "platform/graph/codecs/VideoUsability.h"

namespace {
constexpr uint8_t kSpsNalType = 33;

void SkipProfileTierLevel(BitReader& bits, uint32_t maxSubLayersMinus1) {
  bits.Skip(2 + 1 + 5 + 32 + 48 + 8);  // general profile, compatibility, constraints, level
  bool profilePresent[8] = {}, levelPresent[8] = {};
  for (uint32_t i = 0; i < maxSubLayersMinus1; ++i) {
    profilePresent[i] = bits.Flag();
    levelPresent[i] = bits.Flag();
  }
  if (maxSubLayersMinus1 > 0)
    for (uint32_t i = maxSubLayersMinus1; i < 8; ++i) bits.Bits(2);
  for (uint32_t i = 0; i < maxSubLayersMinus1; ++i) {
    if (profilePresent[i]) bits.Skip(88);
    if (levelPresent[i]) bits.Skip(8);
  }
}

void SkipScalingListData(BitReader& bits) {
  for (int sizeId = 0; sizeId < 4; ++sizeId)
    for (int matrixId = 0; matrixId < 6; matrixId += sizeId == 3 ? 3 : 1) {
      if (!bits.Flag()) {
        bits.Ue();
        continue;
      }
      const int coefficients = std::min(64, 1 << (4 + (sizeId << 1)));
      if (sizeId > 1) bits.Se();
      for (int i = 0; i < coefficients && !bits.Overrun(); ++i) bits.Se();
    }
}

// Skips the short-term reference picture sets; each may be predicted from
// the one before, whose number of pictures it then needs. False for sets no
// encoder writes, after which nothing further can be read.
bool SkipShortTermRefPicSets(BitReader& bits, uint32_t count) {
  if (count > 64) return false;
  std::vector<uint32_t> deltaPocs(count, 0);
  for (uint32_t idx = 0; idx < count && !bits.Overrun(); ++idx) {
    const bool predicted = idx != 0 && bits.Flag();
    if (predicted) {
      bits.Flag();
      bits.Ue();
      uint32_t pictures = 0;
      for (uint32_t j = 0; j <= deltaPocs[idx - 1]; ++j) {
        const bool used = bits.Flag();
        if (used || bits.Flag()) ++pictures;
      }
      deltaPocs[idx] = pictures;
    } else {
      const uint32_t negative = bits.Ue();
      const uint32_t positive = bits.Ue();
      if (negative > 16 || positive > 16) return false;
      for (uint32_t j = 0; j < negative + positive; ++j) {
        bits.Ue();
        bits.Flag();
      }
      deltaPocs[idx] = negative + positive;
    }
  }
  return true;
}

bool ParseSps(BitReader& bits, VideoFormat* format) {
  bits.Bits(4);
  const uint32_t maxSubLayersMinus1 = bits.Bits(3);
  bits.Flag();
  if (maxSubLayersMinus1 > 6) return false;
  SkipProfileTierLevel(bits, maxSubLayersMinus1);
  bits.Ue();  // sps id
  const uint32_t chromaFormat = bits.Ue();
  if (chromaFormat == 3) bits.Flag();
  const uint32_t width = bits.Ue();
  const uint32_t height = bits.Ue();
  uint32_t left = 0, right = 0, top = 0, bottom = 0;
  if (bits.Flag()) {
    left = bits.Ue();
    right = bits.Ue();
    top = bits.Ue();
    bottom = bits.Ue();
  }
  const uint32_t unitX = chromaFormat == 1 || chromaFormat == 2 ? 2 : 1;
  const uint32_t unitY = chromaFormat == 1 ? 2 : 1;
  const int64_t shownWidth = int64_t{width} - int64_t{unitX} * (left + right);
  const int64_t shownHeight = int64_t{height} - int64_t{unitY} * (top + bottom);
  if (bits.Overrun() || shownWidth <= 0 || shownHeight <= 0 || shownWidth > 16384 || shownHeight > 16384) return false;
  format->width = static_cast<int32_t>(shownWidth);
  format->height = static_cast<int32_t>(shownHeight);

  bits.Ue();
  bits.Ue();  // bit depths
  const uint32_t pocLsbBits = bits.Ue() + 4;
  const bool orderingForAll = bits.Flag();
  for (uint32_t i = orderingForAll ? 0 : maxSubLayersMinus1; i <= maxSubLayersMinus1; ++i) {
    bits.Ue();
    bits.Ue();
    bits.Ue();
  }
  for (int i = 0; i < 6; ++i) bits.Ue();  // block sizes and transform depths
  if (bits.Flag() && bits.Flag()) SkipScalingListData(bits);
  bits.Flag();  // asymmetric motion partitions
  bits.Flag();  // sample adaptive offset
  if (bits.Flag()) {  // pcm
    bits.Bits(8);
    bits.Ue();
    bits.Ue();
    bits.Flag();
  }
  if (!SkipShortTermRefPicSets(bits, bits.Ue())) {
    SetPictureAspect(format, 1, 1);
    return true;
  }
  if (bits.Flag()) {  // long-term reference pictures
    const uint32_t count = bits.Ue();
    for (uint32_t i = 0; i < count && !bits.Overrun(); ++i) {
      bits.Bits(static_cast<int>(pocLsbBits));
      bits.Flag();
    }
  }
  bits.Flag();  // temporal motion vector prediction
  bits.Flag();  // strong intra smoothing
  VideoUsability vui;
  if (bits.Flag()) vui = ReadVideoUsability(bits, /*hevc=*/true);
  if (bits.Overrun()) vui = VideoUsability{};
  SetPictureAspect(format, vui.sarX, vui.sarY);
  if (vui.timeScale && vui.unitsInTick) format->frameDuration = int64_t{vui.unitsInTick} * 10'000'000 / vui.timeScale;
  return true;
}
}  // namespace

bool ParseHevcSps(const uint8_t* data, size_t size, VideoFormat* format) {
  for (size_t at = FindStartCode(data, size, 0); at < size; at = FindStartCode(data, size, at + 3)) {
    if (at + 5 >= size || ((data[at + 3] >> 1) & 0x3F) != kSpsNalType) continue;
    const size_t end = FindStartCode(data, size, at + 3);
    if (end == size) return false;
    const std::vector<uint8_t> rbsp = RbspOf(data + at + 5, end - at - 5);
    BitReader bits(rbsp.data(), rbsp.size());
    if (ParseSps(bits, format)) return true;
  }
  return false;
}
