#include "platform/graph/TransInPlaceFilter.h"

CTransInPlaceFilter::CTransInPlaceFilter(std::u16string name, const CLSID& clsid)
    : CBaseFilter(std::move(name), clsid), m_input(this), m_output(this) {}

CBasePin* CTransInPlaceFilter::GetPin(int index) {
  if (index == 0) return &m_input;
  if (index == 1) return &m_output;
  return nullptr;
}

CTransInPlaceFilter::InputPin::InputPin(CTransInPlaceFilter* filter)
    : CBaseInputPin(filter, &filter->m_lock, u"Input"), m_owner(filter) {}

HRESULT CTransInPlaceFilter::InputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return m_owner->CheckInputType(type);
}

HRESULT CTransInPlaceFilter::InputPin::Receive(IMediaSample* sample) {
  HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  hr = m_owner->Transform(sample);
  if (hr != S_OK) return hr;
  // Unconnected output: the sample ends here, as with a renderer.
  return m_owner->m_output.IsConnected() ? m_owner->m_output.Deliver(sample) : S_OK;
}

// Stream control follows the samples downstream; an unconnected output ends it here.
HRESULT CTransInPlaceFilter::InputPin::EndOfStream() {
  const HRESULT hr = CBaseInputPin::EndOfStream();
  if (hr != S_OK || !m_owner->m_output.IsConnected()) return hr;
  return m_owner->m_output.DeliverEndOfStream();
}

HRESULT CTransInPlaceFilter::InputPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  return m_owner->m_output.IsConnected() ? m_owner->m_output.DeliverBeginFlush() : S_OK;
}

HRESULT CTransInPlaceFilter::InputPin::EndFlush() {
  CBaseInputPin::EndFlush();
  return m_owner->m_output.IsConnected() ? m_owner->m_output.DeliverEndFlush() : S_OK;
}

HRESULT CTransInPlaceFilter::InputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  const HRESULT hr = CBaseInputPin::NewSegment(start, stop, rate);
  if (hr != S_OK || !m_owner->m_output.IsConnected()) return hr;
  return m_owner->m_output.DeliverNewSegment(start, stop, rate);
}

CTransInPlaceFilter::OutputPin::OutputPin(CTransInPlaceFilter* filter)
    : CBaseOutputPin(filter, &filter->m_lock, u"Output"), m_owner(filter) {}

HRESULT CTransInPlaceFilter::OutputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  // In place: the output carries exactly what the input receives.
  if (!m_owner->m_input.IsConnected()) return VFW_E_NOT_CONNECTED;
  return *type == m_owner->m_input.CurrentMediaType() ? S_OK : S_FALSE;
}

std::vector<AM_MEDIA_TYPE> CTransInPlaceFilter::OutputPin::OfferedMediaTypes() {
  if (!m_owner->m_input.IsConnected()) return {};
  return {m_owner->m_input.CurrentMediaType()};
}
