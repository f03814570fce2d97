#include "platform/graph/NullAudioDecoder.h"

#include "platform/graph/Formats.h"
#include "platform/graph/codecs/AudioHeaders.h"

namespace {
constexpr uint16_t kBitsPerSample = 16;

AM_MEDIA_TYPE DecodedAudio() {
  AM_MEDIA_TYPE type{MEDIATYPE_Audio, MEDIASUBTYPE_PCM, GUID_NULL, {}};
  WAVEFORMATEX wave;
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.wBitsPerSample = kBitsPerSample;
  SetFormat(type, FORMAT_WaveFormatEx, wave);
  return type;
}

using Parser = bool (*)(const uint8_t*, size_t, AudioFormat*);

Parser ParserFor(const GUID& subtype) {
  if (subtype == MEDIASUBTYPE_MPEG1AudioPayload || subtype == MEDIASUBTYPE_MPEG2_AUDIO) return ParseMpegAudioHeader;
  if (subtype == MEDIASUBTYPE_DOLBY_AC3) return ParseAc3Header;
  if (subtype == MEDIASUBTYPE_MPEG_ADTS_AAC) return ParseAdtsHeader;
  if (subtype == MEDIASUBTYPE_LATM_AAC) return ParseLatmHeader;
  return nullptr;
}
}  // namespace

CNullAudioDecoder::CNullAudioDecoder() : CNullDecoder(u"Audio Decoder", CLSID_NullAudioDecoder, DecodedAudio()) {}

bool CNullAudioDecoder::AcceptsInput(const AM_MEDIA_TYPE& type) {
  return type.majortype == MEDIATYPE_Audio && ParserFor(type.subtype) != nullptr;
}

bool CNullAudioDecoder::ReadFormat(const AM_MEDIA_TYPE& input, const std::vector<uint8_t>& stream, AM_MEDIA_TYPE& output) {
  const Parser parse = ParserFor(input.subtype);
  AudioFormat format;
  if (!parse || !parse(stream.data(), stream.size(), &format)) return false;
  WAVEFORMATEX wave;
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = static_cast<uint16_t>(format.channels);
  wave.nSamplesPerSec = format.sampleRate;
  wave.wBitsPerSample = kBitsPerSample;
  wave.nBlockAlign = static_cast<uint16_t>(format.channels * kBitsPerSample / 8);
  wave.nAvgBytesPerSec = format.sampleRate * wave.nBlockAlign;
  SetFormat(output, FORMAT_WaveFormatEx, wave);
  return true;
}
