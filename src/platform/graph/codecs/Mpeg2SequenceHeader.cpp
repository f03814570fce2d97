#include "platform/graph/codecs/BitReader.h"
#include "platform/graph/codecs/VideoHeaders.h"

namespace {
constexpr uint8_t kSequenceHeader = 0xB3;
constexpr uint8_t kExtension = 0xB5;
constexpr uint32_t kSequenceExtensionId = 1;

struct FrameRate {
  int64_t numerator, denominator;
};
constexpr FrameRate kFrameRates[] = {{0, 1},     {24000, 1001}, {24, 1}, {25, 1},       {30000, 1001},
                                     {30, 1},    {50, 1},       {60, 1}, {60000, 1001}, {60, 1}};
}  // namespace

bool ParseMpeg2SequenceHeader(const uint8_t* data, size_t size, VideoFormat* format) {
  const size_t start = [&] {
    for (size_t at = FindStartCode(data, size, 0); at < size; at = FindStartCode(data, size, at + 3))
      if (at + 3 < size && data[at + 3] == kSequenceHeader) return at;
    return size;
  }();
  if (start + 12 > size) return false;
  BitReader bits(data + start + 4, size - start - 4);
  uint32_t width = bits.Bits(12);
  uint32_t height = bits.Bits(12);
  const uint32_t aspectCode = bits.Bits(4);
  const uint32_t rateCode = bits.Bits(4);
  if (width == 0 || height == 0 || rateCode == 0 || rateCode > 8) return false;
  FrameRate rate = kFrameRates[rateCode];

  // The sequence extension that follows (MPEG-2 only) widens sizes and rate.
  const size_t next = FindStartCode(data, size, start + 12);
  if (next + 10 <= size && data[next + 3] == kExtension && (data[next + 4] >> 4) == kSequenceExtensionId) {
    BitReader ext(data + next + 4, size - next - 4);
    ext.Bits(4 + 8 + 1 + 2);  // id, profile and level, progressive, chroma format
    width |= ext.Bits(2) << 12;
    height |= ext.Bits(2) << 12;
    ext.Bits(12 + 1 + 8 + 1);  // bit rate extension, marker, vbv extension, low delay
    rate.numerator *= ext.Bits(2) + 1;
    rate.denominator *= ext.Bits(5) + 1;
  }
  format->width = static_cast<int32_t>(width);
  format->height = static_cast<int32_t>(height);
  format->frameDuration = rate.denominator * 10'000'000 / rate.numerator;
  switch (aspectCode) {
    case 2: format->aspectX = 4, format->aspectY = 3; break;
    case 3: format->aspectX = 16, format->aspectY = 9; break;
    case 4: format->aspectX = 221, format->aspectY = 100; break;
    default: SetPictureAspect(format, 1, 1); break;
  }
  return true;
}
