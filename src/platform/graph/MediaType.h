#pragma once
// Media types: what a pin connection carries (major type, subtype, format).
#include <cstdint>
#include <vector>

#include "platform/com/Guid.h"

struct AM_MEDIA_TYPE {
  GUID majortype = GUID_NULL;
  GUID subtype = GUID_NULL;
  GUID formattype = GUID_NULL;
  std::vector<uint8_t> format;  // the format block, if any

  friend bool operator==(const AM_MEDIA_TYPE&, const AM_MEDIA_TYPE&) = default;
};

constexpr GUID MEDIATYPE_Stream = MakeGuid("{E436EB83-524F-11CE-9F53-0020AF0BA770}");
constexpr GUID MEDIATYPE_Video = MakeGuid("{73646976-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIATYPE_Audio = MakeGuid("{73647561-0000-0010-8000-00AA00389B71}");
constexpr GUID MEDIATYPE_MPEG2_SECTIONS = MakeGuid("{455F176C-4B06-47CE-9AEF-8CAEF73DF7B5}");
constexpr GUID MEDIASUBTYPE_MPEG2_TRANSPORT = MakeGuid("{E06D8023-DB46-11CF-B4D1-00805F6CBBEA}");
constexpr GUID KSDATAFORMAT_SUBTYPE_BDA_MPEG2_TRANSPORT = MakeGuid("{F4AEB342-0329-4FDD-A8FD-4AFF4926C978}");
constexpr GUID FORMAT_WaveFormatEx = MakeGuid("{05589F81-C356-11CE-BF01-00AA0055595A}");

// The type of a transport stream as tuners deliver it.
inline AM_MEDIA_TYPE TransportStreamMediaType() {
  return AM_MEDIA_TYPE{MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT, GUID_NULL, {}};
}
