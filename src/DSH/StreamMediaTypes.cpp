#include "DSH/DSH.h"
#include "platform/graph/Formats.h"

namespace DSH {
AM_MEDIA_TYPE VideoMediaTypeOfStreamType(LONG streamType) {
  AM_MEDIA_TYPE type{MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, GUID_NULL, {}};
  if (streamType == 0x1B) type.subtype = MEDIASUBTYPE_H264;
  if (streamType == 0x24) type.subtype = MEDIASUBTYPE_HEVC;
  return type;
}

AM_MEDIA_TYPE AudioMediaTypeOfStreamType(LONG streamType, bool ac3) {
  AM_MEDIA_TYPE type{MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, GUID_NULL, {}};
  if (ac3 || streamType == 0x81)
    type.subtype = MEDIASUBTYPE_DOLBY_AC3;
  else if (streamType == 0x03)
    type.subtype = MEDIASUBTYPE_MPEG1AudioPayload;
  else if (streamType == 0x0F)
    type.subtype = MEDIASUBTYPE_MPEG_ADTS_AAC;
  else if (streamType == 0x11)
    type.subtype = MEDIASUBTYPE_LATM_AAC;
  return type;
}
}  // namespace DSH
