#pragma once
// Stands in for the platform's video and audio renderers: takes every sample
// of its major type and shows nothing. Like a real renderer it completes a
// pause only with its first sample (until then its state is intermediate)
// and raises EC_COMPLETE at the end of the stream.
#include <atomic>

#include "platform/com/ComObject.h"
#include "platform/graph/BaseFilter.h"
#include "platform/sync/Event.h"

constexpr CLSID CLSID_NullVideoRenderer = MakeGuid("{6B8E2E53-4F1D-4B73-9C33-0E5C2B1E7A03}");
constexpr CLSID CLSID_NullAudioRenderer = MakeGuid("{6B8E2E53-4F1D-4B73-9C33-0E5C2B1E7A04}");

class CNullRenderer : public CBaseFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  // A renderer of `majorType` samples.
  CNullRenderer(const CLSID& clsid, const GUID& majorType);
  virtual ~CNullRenderer() = default;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_input : nullptr; }

  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT GetState(uint32_t timeoutMs, FILTER_STATE* state) override;

  uint64_t SamplesRendered() const { return m_samples.load(); }

 private:
  class InputPin : public CBaseInputPin {
   public:
    explicit InputPin(CNullRenderer* renderer) : CBaseInputPin(renderer, &renderer->m_lock, u"In"), m_renderer(renderer) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

   private:
    CNullRenderer* m_renderer;
  };

  const GUID m_majorType;
  InputPin m_input;
  std::atomic<uint64_t> m_samples{0};
  // Set by the first sample (or the end of the stream) after a stop.
  Event m_cued{Event::Reset::Manual};
};
