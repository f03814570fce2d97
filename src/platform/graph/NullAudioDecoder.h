#pragma once
// Stands in for the platform's audio decoder: MPEG audio, AC-3 and AAC in;
// 16-bit PCM (WAVEFORMATEX) with the stream's rate and channels on the
// output once a frame header was read.
#include "platform/graph/NullDecoder.h"

constexpr CLSID CLSID_NullAudioDecoder = MakeGuid("{6B8E2E53-4F1D-4B73-9C33-0E5C2B1E7A02}");

class CNullAudioDecoder : public CNullDecoder {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CNullAudioDecoder();
  virtual ~CNullAudioDecoder() = default;

 protected:
  bool AcceptsInput(const AM_MEDIA_TYPE& type) override;
  bool ReadFormat(const AM_MEDIA_TYPE& input, const std::vector<uint8_t>& stream, AM_MEDIA_TYPE& output) override;
};
