#include "platform/graph/NullRenderer.h"

CNullRenderer::CNullRenderer(const CLSID& clsid, const GUID& majorType)
    : CBaseFilter(clsid == CLSID_NullAudioRenderer ? u"Audio Renderer" : u"Video Renderer", clsid),
      m_majorType(majorType),
      m_input(this) {}

HRESULT CNullRenderer::Stop() {
  m_cued.ResetEvent();
  return CBaseFilter::Stop();
}

HRESULT CNullRenderer::Pause() {
  // Nothing upstream delivers anything: nothing to wait for.
  if (!m_input.IsConnected()) m_cued.Set();
  return CBaseFilter::Pause();
}

HRESULT CNullRenderer::GetState(uint32_t timeoutMs, FILTER_STATE* state) {
  const HRESULT hr = CBaseFilter::GetState(timeoutMs, state);
  if (hr != S_OK || *state != State_Paused) return hr;
  return m_cued.Wait(timeoutMs) ? S_OK : VFW_S_STATE_INTERMEDIATE;
}

HRESULT CNullRenderer::InputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return type->majortype == m_renderer->m_majorType ? S_OK : S_FALSE;
}

HRESULT CNullRenderer::InputPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  ++m_renderer->m_samples;
  m_renderer->m_cued.Set();
  return S_OK;
}

HRESULT CNullRenderer::InputPin::EndOfStream() {
  const HRESULT hr = CBaseInputPin::EndOfStream();
  if (hr != S_OK) return hr;
  m_renderer->m_cued.Set();
  m_renderer->NotifyEvent(EC_COMPLETE, S_OK, 0);
  return S_OK;
}
