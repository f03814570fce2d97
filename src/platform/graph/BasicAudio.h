#pragma once
// The platform's volume and balance of an audio renderer, in 1/100 dB:
// volume -10000 (silence) to 0 (full), balance -10000 (left) to 10000 (right).
#include "platform/com/Unknown.h"

struct IBasicAudio : IUnknown {
  DTV_DECLARE_IID("{56A868B3-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT put_Volume(LONG volume) = 0;
  virtual HRESULT get_Volume(LONG* volume) = 0;
  virtual HRESULT put_Balance(LONG balance) = 0;
  virtual HRESULT get_Balance(LONG* balance) = 0;

 protected:
  ~IBasicAudio() = default;
};
