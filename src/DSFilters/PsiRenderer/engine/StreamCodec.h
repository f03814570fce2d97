#pragma once
// The coding of an elementary stream, as far as its stream_type and
// descriptors tell it. It adds detail to the classification without changing
// the stored type and flag fields: HEVC counts as advanced video like H.264,
// E-AC-3 as AC-3 family.
#include <cstdint>

enum class StreamCodec : uint8_t {
  Unknown,
  Mpeg1Video,
  Mpeg2Video,
  Mpeg4Video,
  H264,
  Hevc,
  MpegAudio,
  Ac3,
  EAc3,
  Aac,
};
