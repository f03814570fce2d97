#pragma once
// Media subtypes and the format blocks of video and audio connections.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "platform/graph/GraphInterfaces.h"
#include "platform/graph/MediaType.h"

constexpr GUID MEDIASUBTYPE_MPEG2_VIDEO = MakeGuid("{E06D8026-DB46-11CF-B4D1-00805F6CBBEA}");
constexpr GUID MEDIASUBTYPE_H264 = MakeGuid("{34363248-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIASUBTYPE_HEVC = MakeGuid("{43564548-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIASUBTYPE_NV12 = MakeGuid("{3231564E-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIASUBTYPE_MPEG1AudioPayload = MakeGuid("{00000050-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIASUBTYPE_MPEG2_AUDIO = MakeGuid("{E06D802B-DB46-11CF-B4D1-00805F6CBBEA}");
constexpr GUID MEDIASUBTYPE_DOLBY_AC3 = MakeGuid("{E06D802C-DB46-11CF-B4D1-00805F6CBBEA}");
constexpr GUID MEDIASUBTYPE_MPEG_ADTS_AAC = MakeGuid("{000016FF-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIASUBTYPE_LATM_AAC = MakeGuid("{00001602-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIASUBTYPE_PCM = MakeGuid("{00000001-0000-0010-8000-00AA00389B71}");
constexpr GUID FORMAT_VideoInfo = MakeGuid("{05589F80-C356-11CE-BF01-00AA0055595A}");
constexpr GUID FORMAT_VideoInfo2 = MakeGuid("{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");

struct RECT {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct BITMAPINFOHEADER {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

struct VIDEOINFOHEADER {
  RECT rcSource, rcTarget;
  uint32_t dwBitRate = 0, dwBitErrorRate = 0;
  REFERENCE_TIME AvgTimePerFrame = 0;
  BITMAPINFOHEADER bmiHeader;
};

struct VIDEOINFOHEADER2 {
  RECT rcSource, rcTarget;
  uint32_t dwBitRate = 0, dwBitErrorRate = 0;
  REFERENCE_TIME AvgTimePerFrame = 0;
  uint32_t dwInterlaceFlags = 0, dwCopyProtectFlags = 0;
  uint32_t dwPictAspectRatioX = 0, dwPictAspectRatioY = 0;
  uint32_t dwControlFlags = 0, dwReserved2 = 0;
  BITMAPINFOHEADER bmiHeader;
};

#pragma pack(push, 1)
struct WAVEFORMATEX {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;
};
#pragma pack(pop)

constexpr uint16_t WAVE_FORMAT_PCM = 1;

template <class T>
void SetFormat(AM_MEDIA_TYPE& type, const GUID& formatType, const T& block) {
  static_assert(std::is_trivially_copyable_v<T>);
  type.formattype = formatType;
  type.format.resize(sizeof(T));
  std::memcpy(type.format.data(), &block, sizeof(T));
}

// The format block as T when the type carries one of at least its size.
template <class T>
bool ReadFormat(const AM_MEDIA_TYPE& type, const GUID& formatType, T* block) {
  static_assert(std::is_trivially_copyable_v<T>);
  if (type.formattype != formatType || type.format.size() < sizeof(T)) return false;
  std::memcpy(block, type.format.data(), sizeof(T));
  return true;
}

// What a video connection tells of the picture.
struct VideoFormat {
  int32_t width = 0;
  int32_t height = 0;
  int32_t aspectX = 0;  // picture aspect ratio
  int32_t aspectY = 0;
  REFERENCE_TIME frameDuration = 0;
};

// The video format of a connection with a VIDEOINFOHEADER2 or VIDEOINFOHEADER
// block (the latter has square pixels); false for any other.
bool VideoFormatOf(const AM_MEDIA_TYPE& type, VideoFormat* format);
