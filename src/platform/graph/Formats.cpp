#include "platform/graph/Formats.h"

#include <cstdlib>
#include <numeric>

namespace {
void ReduceAspect(VideoFormat& format, int64_t x, int64_t y) {
  const int64_t divisor = std::gcd(x, y);
  if (divisor == 0) return;
  format.aspectX = static_cast<int32_t>(x / divisor);
  format.aspectY = static_cast<int32_t>(y / divisor);
}
}  // namespace

bool VideoFormatOf(const AM_MEDIA_TYPE& type, VideoFormat* format) {
  if (!format) return false;
  VIDEOINFOHEADER2 info2;
  if (ReadFormat(type, FORMAT_VideoInfo2, &info2)) {
    format->width = info2.bmiHeader.biWidth;
    format->height = std::abs(info2.bmiHeader.biHeight);
    format->frameDuration = info2.AvgTimePerFrame;
    format->aspectX = static_cast<int32_t>(info2.dwPictAspectRatioX);
    format->aspectY = static_cast<int32_t>(info2.dwPictAspectRatioY);
    return true;
  }
  VIDEOINFOHEADER info;
  if (ReadFormat(type, FORMAT_VideoInfo, &info)) {
    format->width = info.bmiHeader.biWidth;
    format->height = std::abs(info.bmiHeader.biHeight);
    format->frameDuration = info.AvgTimePerFrame;
    ReduceAspect(*format, format->width, format->height);
    return true;
  }
  return false;
}
