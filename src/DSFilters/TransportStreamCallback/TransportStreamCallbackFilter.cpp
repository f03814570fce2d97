#include "DSFilters/TransportStreamCallback/TransportStreamCallbackFilter.h"

#include <new>

#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "DSFilters\\TransportStreamCallback\\TransportStreamCallbackFilter";
}

HRESULT CTransportStreamSinkFilterPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  const bool transportStream =
      type->subtype == MEDIASUBTYPE_MPEG2_TRANSPORT || type->subtype == KSDATAFORMAT_SUBTYPE_BDA_MPEG2_TRANSPORT;
  return type->majortype == MEDIATYPE_Stream && transportStream ? S_OK : S_FALSE;
}

HRESULT CTransportStreamSinkFilterPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  uint8_t* data = nullptr;
  const LONG length = sample->GetActualDataLength();
  if (FAILED(sample->GetPointer(&data)) || length <= 0) return S_OK;
  return m_sink.Receive(data, static_cast<size_t>(length));
}

HRESULT CTransportStreamSinkFilterPin::EndOfStream() {
  const HRESULT hr = CBaseInputPin::EndOfStream();
  if (hr == S_OK) m_sink.EndOfStream();
  return hr;
}

HRESULT CTransportStreamSinkFilterPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  m_sink.Flush();
  return S_OK;
}

HRESULT CTransportStreamSinkFilter::CreateFilter(IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  HRESULT hr = E_OUTOFMEMORY;
  try {
    hr = ComObject<CTransportStreamSinkFilter>::CreateAndQuery(filter);
  } catch (const std::bad_alloc&) {
    // The ring, the read buffer or the worker could not be had.
  }
  if (FAILED(hr)) traceFailure(hr, "(hr) = (CTransportStreamSinkFilter::CreateInstance(ppFilter))", kLogFile);
  return hr;
}

HRESULT CTransportStreamSinkFilter::Pause() {
  if (State() == State_Stopped) m_sink.HoldUntilStartDeliver();
  return CBaseFilter::Pause();
}
