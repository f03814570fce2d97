#pragma once
// Stands in for the platform's video decoder: MPEG-2, H.264 and HEVC in; the
// picture format (VIDEOINFOHEADER2) on the output once a sequence header or
// parameter set was read.
#include "platform/graph/NullDecoder.h"

constexpr CLSID CLSID_NullVideoDecoder = MakeGuid("{6B8E2E53-4F1D-4B73-9C33-0E5C2B1E7A01}");

class CNullVideoDecoder : public CNullDecoder {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CNullVideoDecoder();
  virtual ~CNullVideoDecoder() = default;

 protected:
  bool AcceptsInput(const AM_MEDIA_TYPE& type) override;
  bool ReadFormat(const AM_MEDIA_TYPE& input, const std::vector<uint8_t>& stream, AM_MEDIA_TYPE& output) override;
};
