#pragma once
// Finds the sound format in an elementary audio stream: MPEG audio (layers
// I to III), AC-3 and E-AC-3, AAC in ADTS and in LATM/LOAS. Each returns
// false until the stream holds a valid frame header.
#include <cstddef>
#include <cstdint>

struct AudioFormat {
  uint32_t sampleRate = 0;
  uint32_t channels = 0;
  uint32_t bitRate = 0;  // bit/s, 0 when the header does not tell
};

bool ParseMpegAudioHeader(const uint8_t* data, size_t size, AudioFormat* format);
bool ParseAc3Header(const uint8_t* data, size_t size, AudioFormat* format);
bool ParseAdtsHeader(const uint8_t* data, size_t size, AudioFormat* format);
bool ParseLatmHeader(const uint8_t* data, size_t size, AudioFormat* format);
