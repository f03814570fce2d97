#pragma once
// Finds the picture format in an elementary video stream: the MPEG-2
// sequence header (with its extension), the H.264 and the HEVC sequence
// parameter set. Each returns false until the stream holds a complete one.
#include <cstddef>
#include <cstdint>

#include "platform/graph/Formats.h"

bool ParseMpeg2SequenceHeader(const uint8_t* data, size_t size, VideoFormat* format);
bool ParseH264Sps(const uint8_t* data, size_t size, VideoFormat* format);
bool ParseHevcSps(const uint8_t* data, size_t size, VideoFormat* format);

// Start of the next 00 00 01 start code at or after `from`; `size` when none.
size_t FindStartCode(const uint8_t* data, size_t size, size_t from);
// The picture aspect ratio from the sample aspect ratio, reduced.
void SetPictureAspect(VideoFormat* format, int64_t sarX, int64_t sarY);
