#include "platform/graph/codecs/AudioHeaders.h"
#include "platform/graph/codecs/BitReader.h"

namespace {
constexpr uint32_t kSampleRates[] = {48000, 44100, 32000};
constexpr uint16_t kBitRates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640};
constexpr uint32_t kChannels[] = {2, 1, 2, 3, 3, 4, 4, 5};  // by audio coding mode
constexpr uint32_t kLastAc3Bsid = 10;
constexpr uint32_t kFirstEac3Bsid = 11;
constexpr uint32_t kLastEac3Bsid = 16;

bool ReadAc3(BitReader& bits, AudioFormat* format) {
  bits.Bits(16);  // crc1
  const uint32_t fscod = bits.Bits(2);
  const uint32_t frmsizecod = bits.Bits(6);
  bits.Bits(5 + 3);  // bsid, bsmod
  const uint32_t acmod = bits.Bits(3);
  if (fscod == 3 || frmsizecod / 2 >= sizeof kBitRates / sizeof kBitRates[0]) return false;
  if ((acmod & 1) && acmod != 1) bits.Bits(2);
  if (acmod & 4) bits.Bits(2);
  if (acmod == 2) bits.Bits(2);
  format->sampleRate = kSampleRates[fscod];
  format->channels = kChannels[acmod] + bits.Bits(1);
  format->bitRate = kBitRates[frmsizecod / 2] * 1000u;
  return true;
}

bool ReadEac3(BitReader& bits, AudioFormat* format) {
  bits.Bits(2 + 3);  // stream type, substream id
  const uint32_t frameWords = bits.Bits(11) + 1;
  const uint32_t fscod = bits.Bits(2);
  uint32_t rate = 0, blocks = 6;
  if (fscod == 3) {
    const uint32_t fscod2 = bits.Bits(2);
    if (fscod2 == 3) return false;
    rate = kSampleRates[fscod2] / 2;
    blocks = 6;
  } else {
    constexpr uint32_t kBlocks[] = {1, 2, 3, 6};
    blocks = kBlocks[bits.Bits(2)];
    rate = kSampleRates[fscod];
  }
  const uint32_t acmod = bits.Bits(3);
  format->sampleRate = rate;
  format->channels = kChannels[acmod] + bits.Bits(1);
  format->bitRate = frameWords * 16 * rate / (blocks * 256);
  return true;
}
}  // namespace

bool ParseAc3Header(const uint8_t* data, size_t size, AudioFormat* format) {
  for (size_t i = 0; i + 8 <= size; ++i) {
    if (data[i] != 0x0B || data[i + 1] != 0x77) continue;
    const uint32_t bsid = data[i + 5] >> 3;
    BitReader bits(data + i + 2, size - i - 2);
    if (bsid <= kLastAc3Bsid ? ReadAc3(bits, format)
                             : bsid >= kFirstEac3Bsid && bsid <= kLastEac3Bsid && ReadEac3(bits, format))
      return true;
  }
  return false;
}
