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

struct Header {
  uint32_t version, layer, sampleRate, bitRate, channels, length;
};

// Decodes the header at `at`; false when it is none.
bool Decode(const uint8_t* p, Header* h) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  h->version = (p[1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  const uint32_t layerBits = (p[1] >> 1) & 3;  // 3 layer I, 2 II, 1 III
  const uint32_t rateIndex = p[2] >> 4;
  const uint32_t frequencyIndex = (p[2] >> 2) & 3;
  if (h->version == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || frequencyIndex == 3) return false;
  h->layer = 3 - layerBits;  // 0 for layer I
  h->sampleRate = kSampleRates[frequencyIndex] >> (h->version == 3 ? 0 : h->version == 2 ? 1 : 2);
  h->bitRate = kBitRates[h->version == 3 ? 0 : 1][h->layer][rateIndex] * 1000u;
  h->channels = (p[3] >> 6) == 3 ? 1 : 2;
  const uint32_t padding = (p[2] >> 1) & 1;
  if (h->layer == 0)
    h->length = (12 * h->bitRate / h->sampleRate + padding) * 4;
  else
    h->length = (h->layer == 2 && h->version != 3 ? 72 : 144) * h->bitRate / h->sampleRate + padding;
  return h->length > 4;
}
}  // namespace

bool ParseMpegAudioHeader(const uint8_t* data, size_t size, AudioFormat* format) {
  // A header counts when the next frame's header follows where it says:
  // a stream that does not start on a frame may hold look-alikes before one.
  for (size_t i = 0; i + 4 <= size; ++i) {
    Header header, next;
    if (!Decode(data + i, &header)) continue;
    if (i + header.length + 4 > size) return false;  // wait for more
    if (!Decode(data + i + header.length, &next) || next.sampleRate != header.sampleRate) continue;
    format->sampleRate = header.sampleRate;
    format->channels = header.channels;
    format->bitRate = header.bitRate;
    return true;
  }
  return false;
}
