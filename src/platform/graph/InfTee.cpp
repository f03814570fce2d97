#include "platform/graph/InfTee.h"

#include <string>

#include "platform/com/Utf.h"

CInfTee::CInfTee() : CBaseFilter(u"InfTee", CLSID_InfTee), m_input(this) {
  m_outputs.push_back(std::make_unique<OutputPin>(this, 1));
}

int CInfTee::GetPinCount() {
  AutoLock lock(m_lock);
  return 1 + static_cast<int>(m_outputs.size());
}

CBasePin* CInfTee::GetPin(int index) {
  AutoLock lock(m_lock);
  if (index == 0) return &m_input;
  if (index < 0 || static_cast<size_t>(index) > m_outputs.size()) return nullptr;
  return m_outputs[static_cast<size_t>(index) - 1].get();
}

std::vector<CInfTee::OutputPin*> CInfTee::ConnectedOutputs() {
  AutoLock lock(m_lock);
  std::vector<OutputPin*> connected;
  for (const auto& pin : m_outputs)
    if (pin->IsConnected()) connected.push_back(pin.get());
  return connected;
}

// Every output gets the call; the first failure is the result.
template <class Call>
HRESULT CInfTee::ForEachOutput(Call call) {
  HRESULT result = S_OK;
  for (OutputPin* pin : ConnectedOutputs()) {
    const HRESULT hr = call(*pin);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

HRESULT CInfTee::InputPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  // One output refusing a sample must not starve the others.
  m_tee->ForEachOutput([&](OutputPin& pin) { return pin.Deliver(sample); });
  return S_OK;
}

HRESULT CInfTee::InputPin::EndOfStream() {
  const HRESULT hr = CBaseInputPin::EndOfStream();
  if (hr != S_OK) return hr;
  return m_tee->ForEachOutput([](OutputPin& pin) { return pin.DeliverEndOfStream(); });
}

HRESULT CInfTee::InputPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  return m_tee->ForEachOutput([](OutputPin& pin) { return pin.DeliverBeginFlush(); });
}

HRESULT CInfTee::InputPin::EndFlush() {
  CBaseInputPin::EndFlush();
  return m_tee->ForEachOutput([](OutputPin& pin) { return pin.DeliverEndFlush(); });
}

HRESULT CInfTee::InputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  const HRESULT hr = CBaseInputPin::NewSegment(start, stop, rate);
  if (hr != S_OK) return hr;
  return m_tee->ForEachOutput([&](OutputPin& pin) { return pin.DeliverNewSegment(start, stop, rate); });
}

CInfTee::OutputPin::OutputPin(CInfTee* tee, int number)
    : CBaseOutputPin(tee, &tee->m_lock, u"Output" + Utf8ToUtf16(std::to_string(number))), m_tee(tee) {}

HRESULT CInfTee::OutputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  // Outputs carry what the input receives.
  if (!m_tee->m_input.IsConnected()) return VFW_E_NOT_CONNECTED;
  return *type == m_tee->m_input.CurrentMediaType() ? S_OK : S_FALSE;
}

std::vector<AM_MEDIA_TYPE> CInfTee::OutputPin::OfferedMediaTypes() {
  if (!m_tee->m_input.IsConnected()) return {};
  return {m_tee->m_input.CurrentMediaType()};
}

HRESULT CInfTee::OutputPin::CompleteConnect(IPin* receiver) {
  const HRESULT hr = CBaseOutputPin::CompleteConnect(receiver);
  if (FAILED(hr)) return hr;
  // Called under the filter lock: a new free output appears.
  const bool lastIsFree = !m_tee->m_outputs.empty() && m_tee->m_outputs.back().get() != this &&
                          !m_tee->m_outputs.back()->IsConnected();
  if (!lastIsFree)
    m_tee->m_outputs.push_back(std::make_unique<OutputPin>(m_tee, static_cast<int>(m_tee->m_outputs.size()) + 1));
  return S_OK;
}
