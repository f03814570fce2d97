#include "platform/graph/codecs/VideoHeaders.h"

#include <numeric>

size_t FindStartCode(const uint8_t* data, size_t size, size_t from) {
  for (size_t i = from; i + 3 <= size; ++i)
    if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) return i;
  return size;
}

void SetPictureAspect(VideoFormat* format, int64_t sarX, int64_t sarY) {
  if (sarX <= 0 || sarY <= 0) sarX = sarY = 1;
  const int64_t x = format->width * sarX;
  const int64_t y = format->height * sarY;
  const int64_t divisor = std::gcd(x, y);
  if (divisor == 0) return;
  format->aspectX = static_cast<int32_t>(x / divisor);
  format->aspectY = static_cast<int32_t>(y / divisor);
}
