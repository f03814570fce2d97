#pragma once
// The stand-in audio renderer: keeps the volume and balance it is given.
#include <atomic>

#include "platform/graph/BasicAudio.h"
#include "platform/graph/NullRenderer.h"

class CNullAudioRenderer : public CNullRenderer, public IBasicAudio {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IBasicAudio>;
  CNullAudioRenderer() : CNullRenderer(CLSID_NullAudioRenderer, MEDIATYPE_Audio) {}
  virtual ~CNullAudioRenderer() = default;

  HRESULT put_Volume(LONG volume) override;
  HRESULT get_Volume(LONG* volume) override;
  HRESULT put_Balance(LONG balance) override;
  HRESULT get_Balance(LONG* balance) override;

 private:
  std::atomic<LONG> m_volume{0};
  std::atomic<LONG> m_balance{0};
};
