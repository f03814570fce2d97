#include "platform/graph/codecs/AudioHeaders.h"

namespace {
// kbit/s by [MPEG-1 ? 0 : 1][layer I, II, III][index].
constexpr uint16_t kBitRates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
constexpr uint32_t kSampleRates[] = {44100, 48000, 32000};
}  // namespace

bool ParseMpegAudioHeader(const uint8_t* data, size_t size, AudioFormat* format) {
  for (size_t i = 0; i + 4 <= size; ++i) {
    if (data[i] != 0xFF || (data[i + 1] & 0xE0) != 0xE0) continue;
    const uint32_t version = (data[i + 1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const uint32_t layerBits = (data[i + 1] >> 1) & 3;  // 3 layer I, 2 II, 1 III
    const uint32_t rateIndex = data[i + 2] >> 4;
    const uint32_t frequencyIndex = (data[i + 2] >> 2) & 3;
    if (version == 1 || layerBits == 0 || rateIndex == 15 || frequencyIndex == 3) continue;
    const uint32_t layer = 3 - layerBits;  // 0 for layer I
    format->sampleRate = kSampleRates[frequencyIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    format->channels = (data[i + 3] >> 6) == 3 ? 1 : 2;
    format->bitRate = kBitRates[version == 3 ? 0 : 1][layer][rateIndex] * 1000u;
    return true;
  }
  return false;
}
