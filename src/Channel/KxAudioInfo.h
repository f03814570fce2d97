#pragma once
// Format of the running audio decoder's input.
#include "interfaces/IKxPidInfo.h"
#include "platform/com/ComObject.h"

struct KxAudioFormat {
  LONG avgBytesPerSec = 0;
  LONG channels = 0;
  LONG samplesPerSec = 0;
  LONG bitsPerSample = 0;
};

class CKxAudioInfo : public IKxAudioInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxAudioInfo>;

  CKxAudioInfo() = default;
  explicit CKxAudioInfo(const KxAudioFormat& format) : m_format(format) {}
  virtual ~CKxAudioInfo() = default;

  void SetFormat(const KxAudioFormat& format) { m_format = format; }

  HRESULT get_AvgBytesPerSec(LONG* plValue) override { return Out(plValue, m_format.avgBytesPerSec); }
  HRESULT get_Channels(LONG* plValue) override { return Out(plValue, m_format.channels); }
  HRESULT get_SamplesPerSec(LONG* plValue) override { return Out(plValue, m_format.samplesPerSec); }
  HRESULT get_BitsPerSample(LONG* plValue) override { return Out(plValue, m_format.bitsPerSample); }

 private:
  static HRESULT Out(LONG* out, LONG value) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
  }

  KxAudioFormat m_format;
};
