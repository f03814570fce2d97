#include "platform/graph/NullVideoDecoder.h"

#include "platform/graph/Formats.h"
#include "platform/graph/codecs/VideoHeaders.h"

namespace {
AM_MEDIA_TYPE DecodedVideo() {
  AM_MEDIA_TYPE type{MEDIATYPE_Video, MEDIASUBTYPE_NV12, GUID_NULL, {}};
  SetFormat(type, FORMAT_VideoInfo2, VIDEOINFOHEADER2{});
  return type;
}
}  // namespace

CNullVideoDecoder::CNullVideoDecoder() : CNullDecoder(u"Video Decoder", CLSID_NullVideoDecoder, DecodedVideo()) {}

bool CNullVideoDecoder::AcceptsInput(const AM_MEDIA_TYPE& type) {
  return type.majortype == MEDIATYPE_Video &&
         (type.subtype == MEDIASUBTYPE_MPEG2_VIDEO || type.subtype == MEDIASUBTYPE_H264 || type.subtype == MEDIASUBTYPE_HEVC);
}

bool CNullVideoDecoder::ReadFormat(const AM_MEDIA_TYPE& input, const std::vector<uint8_t>& stream, AM_MEDIA_TYPE& output) {
  VideoFormat format;
  const bool read = input.subtype == MEDIASUBTYPE_H264   ? ParseH264Sps(stream.data(), stream.size(), &format)
                    : input.subtype == MEDIASUBTYPE_HEVC ? ParseHevcSps(stream.data(), stream.size(), &format)
                                                         : ParseMpeg2SequenceHeader(stream.data(), stream.size(), &format);
  if (!read) return false;
  VIDEOINFOHEADER2 info;
  info.rcSource = {0, 0, format.width, format.height};
  info.rcTarget = info.rcSource;
  info.AvgTimePerFrame = format.frameDuration;
  info.dwPictAspectRatioX = static_cast<uint32_t>(format.aspectX);
  info.dwPictAspectRatioY = static_cast<uint32_t>(format.aspectY);
  info.bmiHeader.biWidth = format.width;
  info.bmiHeader.biHeight = format.height;
  info.bmiHeader.biBitCount = 12;
  info.bmiHeader.biCompression = 0x3231564E;  // 'NV12'
  info.bmiHeader.biSizeImage = static_cast<uint32_t>(format.width * format.height * 3 / 2);
  SetFormat(output, FORMAT_VideoInfo2, info);
  return true;
}
