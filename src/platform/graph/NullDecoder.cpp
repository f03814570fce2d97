#include "platform/graph/NullDecoder.h"

namespace {
// Headers repeat at least every few seconds; more input than this without
// one is not worth keeping: the oldest half goes.
constexpr size_t kMaxInspected = 4 << 20;
}  // namespace

CNullDecoder::CNullDecoder(std::u16string name, const CLSID& clsid, AM_MEDIA_TYPE initialOutput)
    : CBaseFilter(std::move(name), clsid), m_input(this), m_output(this), m_outputType(std::move(initialOutput)) {}

CBasePin* CNullDecoder::GetPin(int index) {
  if (index == 0) return &m_input;
  if (index == 1) return &m_output;
  return nullptr;
}

AM_MEDIA_TYPE CNullDecoder::OutputType() {
  AutoLock lock(m_lock);
  return m_outputType;
}

void CNullDecoder::Inspect(const uint8_t* data, size_t size) {
  if (m_formatKnown) return;
  m_stream.insert(m_stream.end(), data, data + size);
  AM_MEDIA_TYPE output = OutputType();
  if (ReadFormat(m_input.CurrentMediaType(), m_stream, output)) {
    m_formatKnown = true;
    m_stream = {};
    {
      AutoLock lock(m_lock);
      m_outputType = output;
    }
    m_output.ChangeConnectionType(output);
  } else if (m_stream.size() > kMaxInspected) {
    m_stream.erase(m_stream.begin(), m_stream.begin() + static_cast<std::ptrdiff_t>(m_stream.size() / 2));
  }
}

HRESULT CNullDecoder::InputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return m_decoder->AcceptsInput(*type) ? S_OK : S_FALSE;
}

HRESULT CNullDecoder::InputPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  uint8_t* data = nullptr;
  const LONG length = sample->GetActualDataLength();
  if (SUCCEEDED(sample->GetPointer(&data)) && length > 0) m_decoder->Inspect(data, static_cast<size_t>(length));
  return m_decoder->m_output.IsConnected() ? m_decoder->m_output.Deliver(sample) : S_OK;
}

HRESULT CNullDecoder::InputPin::EndOfStream() {
  const HRESULT hr = CBaseInputPin::EndOfStream();
  if (hr != S_OK || !m_decoder->m_output.IsConnected()) return hr;
  return m_decoder->m_output.DeliverEndOfStream();
}

HRESULT CNullDecoder::InputPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  return m_decoder->m_output.IsConnected() ? m_decoder->m_output.DeliverBeginFlush() : S_OK;
}

HRESULT CNullDecoder::InputPin::EndFlush() {
  CBaseInputPin::EndFlush();
  return m_decoder->m_output.IsConnected() ? m_decoder->m_output.DeliverEndFlush() : S_OK;
}

HRESULT CNullDecoder::InputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  const HRESULT hr = CBaseInputPin::NewSegment(start, stop, rate);
  if (hr != S_OK || !m_decoder->m_output.IsConnected()) return hr;
  return m_decoder->m_output.DeliverNewSegment(start, stop, rate);
}

HRESULT CNullDecoder::OutputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  const AM_MEDIA_TYPE offered = m_decoder->OutputType();
  return type->majortype == offered.majortype && type->subtype == offered.subtype ? S_OK : S_FALSE;
}

void CNullDecoder::OutputPin::ChangeConnectionType(const AM_MEDIA_TYPE& type) {
  AutoLock lock(*m_pLock);
  if (IsConnected()) m_mt = type;
}
