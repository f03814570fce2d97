#pragma once
// Format of the running video decoder's output.
#include "interfaces/IKxPidInfo.h"
#include "platform/com/ComObject.h"

struct KxVideoFormat {
  int64_t frameDuration = 0;  // 100 ns units
  LONG width = 0;
  LONG height = 0;
  LONG aspectRatioX = 0;
  LONG aspectRatioY = 0;
};

class CKxVideoInfo : public IKxVideoInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxVideoInfo>;

  CKxVideoInfo() = default;
  explicit CKxVideoInfo(const KxVideoFormat& format) : m_format(format) {}
  virtual ~CKxVideoInfo() = default;

  void SetFormat(const KxVideoFormat& format) { m_format = format; }

  HRESULT get_FrameDuration(int64_t* pllDuration) override { return Out(pllDuration, m_format.frameDuration); }
  HRESULT get_Width(LONG* plWidth) override { return Out(plWidth, m_format.width); }
  HRESULT get_Height(LONG* plHeight) override { return Out(plHeight, m_format.height); }
  HRESULT get_AspectRatioX(LONG* plX) override { return Out(plX, m_format.aspectRatioX); }
  HRESULT get_AspectRatioY(LONG* plY) override { return Out(plY, m_format.aspectRatioY); }

 private:
  template <class T>
  static HRESULT Out(T* out, T value) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
  }

  KxVideoFormat m_format;
};
