#include "GraphManager/StreamFormat.h"

#include <cstring>

#include "interfaces/IKxCallbackControl.h"

namespace {
// Offsets in VIDEOINFOHEADER2: two rectangles, bit rate and error rate, the
// frame duration, interlace and copy-protection flags, the picture aspect
// ratio, two reserved words, then the bitmap header (size, width, height).
constexpr size_t kFrameDuration = 40, kAspectX = 56, kAspectY = 60, kWidth = 76, kHeight = 80, kVideoSize = 112;

template <class T>
T At(const std::vector<uint8_t>& block, size_t offset) {
  T value;
  std::memcpy(&value, block.data() + offset, sizeof value);
  return value;
}
}  // namespace

HRESULT ReadVideoFormat(const AM_MEDIA_TYPE& type, KxVideoFormat* format) {
  if (!format) return E_POINTER;
  if (type.formattype != FORMAT_VideoInfo2 || type.format.size() < kVideoSize) return E_INVALIDARG;
  format->frameDuration = At<int64_t>(type.format, kFrameDuration);
  format->width = At<int32_t>(type.format, kWidth);
  // A negative height marks a top-down bitmap; the picture is as high either way.
  const int32_t height = At<int32_t>(type.format, kHeight);
  format->height = height < 0 ? -height : height;
  format->aspectRatioX = static_cast<LONG>(At<uint32_t>(type.format, kAspectX));
  format->aspectRatioY = static_cast<LONG>(At<uint32_t>(type.format, kAspectY));
  return S_OK;
}

HRESULT ReadAudioFormat(const AM_MEDIA_TYPE& type, KxAudioFormat* format) {
  if (!format) return E_POINTER;
  if (type.formattype != FORMAT_WaveFormatEx || type.format.size() < sizeof(WAVEFORMATEX)) return E_INVALIDARG;
  const auto wave = At<WAVEFORMATEX>(type.format, 0);
  format->avgBytesPerSec = static_cast<LONG>(wave.nAvgBytesPerSec);
  format->channels = wave.nChannels;
  format->samplesPerSec = static_cast<LONG>(wave.nSamplesPerSec);
  format->bitsPerSample = wave.wBitsPerSample;
  return S_OK;
}
