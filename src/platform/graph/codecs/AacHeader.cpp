#include "platform/graph/codecs/AudioHeaders.h"
#include "platform/graph/codecs/BitReader.h"

namespace {
constexpr uint32_t kSampleRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050,
                                     16000, 12000, 11025, 8000,  7350};
constexpr uint32_t kExplicitRate = 15;
constexpr uint32_t kSbr = 5, kPs = 29, kEscapeObjectType = 31;

bool SetRateAndChannels(uint32_t rate, uint32_t channelConfig, AudioFormat* format) {
  if (rate == 0 || channelConfig == 0 || channelConfig > 7) return false;
  format->sampleRate = rate;
  format->channels = channelConfig == 7 ? 8 : channelConfig;
  format->bitRate = 0;
  return true;
}

uint32_t ReadRate(BitReader& bits) {
  const uint32_t index = bits.Bits(4);
  if (index == kExplicitRate) return bits.Bits(24);
  return index < sizeof kSampleRates / sizeof kSampleRates[0] ? kSampleRates[index] : 0;
}

uint32_t ReadObjectType(BitReader& bits) {
  const uint32_t type = bits.Bits(5);
  return type == kEscapeObjectType ? 32 + bits.Bits(6) : type;
}

// AudioSpecificConfig; spectral band replication doubles the output rate.
bool ReadAudioSpecificConfig(BitReader& bits, AudioFormat* format) {
  const uint32_t objectType = ReadObjectType(bits);
  uint32_t rate = ReadRate(bits);
  const uint32_t channelConfig = bits.Bits(4);
  if (objectType == kSbr || objectType == kPs) rate = ReadRate(bits);
  return !bits.Overrun() && SetRateAndChannels(rate, channelConfig, format);
}

uint32_t LatmValue(BitReader& bits) {
  const uint32_t bytes = bits.Bits(2) + 1;
  return bits.Bits(static_cast<int>(8 * bytes));
}

bool ReadStreamMuxConfig(BitReader& bits, AudioFormat* format) {
  const uint32_t version = bits.Bits(1);
  if (version == 1 && bits.Bits(1) != 0) return false;  // audioMuxVersionA
  if (version == 1) LatmValue(bits);                    // taraBufferFullness
  bits.Bits(1 + 6);                                     // same time framing, subframes
  if (bits.Bits(4) != 0 || bits.Bits(3) != 0) return false;  // one program, one layer
  if (version == 1) LatmValue(bits);                    // config length
  return ReadAudioSpecificConfig(bits, format);
}
}  // namespace

bool ParseAdtsHeader(const uint8_t* data, size_t size, AudioFormat* format) {
  for (size_t i = 0; i + 7 <= size; ++i) {
    if (data[i] != 0xFF || (data[i + 1] & 0xF6) != 0xF0) continue;  // sync, layer 0
    const uint32_t index = (data[i + 2] >> 2) & 0x0F;
    const uint32_t channelConfig = (data[i + 2] & 1) << 2 | data[i + 3] >> 6;
    if (index < sizeof kSampleRates / sizeof kSampleRates[0] && SetRateAndChannels(kSampleRates[index], channelConfig, format))
      return true;
  }
  return false;
}

bool ParseLatmHeader(const uint8_t* data, size_t size, AudioFormat* format) {
  for (size_t i = 0; i + 3 <= size; ++i) {
    if (data[i] != 0x56 || (data[i + 1] & 0xE0) != 0xE0) continue;  // LOAS sync 0x2B7
    BitReader bits(data + i + 3, size - i - 3);
    if (bits.Bits(1) == 0 && ReadStreamMuxConfig(bits, format)) return true;  // a mux config follows
  }
  return false;
}
