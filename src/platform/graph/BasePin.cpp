#include "platform/graph/BasePin.h"

#include "platform/graph/BaseFilter.h"

CBasePin::CBasePin(CBaseFilter* filter, RecursiveLock* lock, std::u16string name, PIN_DIRECTION direction)
    : m_pFilter(filter), m_pLock(lock), m_name(std::move(name)), m_direction(direction) {}

HRESULT CBasePin::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IidOf<IUnknown>() || iid == IidOf<IPin>()) {
    *out = static_cast<IPin*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG CBasePin::AddRef() { return m_pFilter->AddRef(); }
ULONG CBasePin::Release() { return m_pFilter->Release(); }

HRESULT CBasePin::TryConnect(IPin* receiver, const AM_MEDIA_TYPE& type) {
  if (CheckMediaType(&type) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  m_connected = receiver;
  m_mt = type;
  HRESULT hr = receiver->ReceiveConnection(this, &type);
  if (FAILED(hr)) {
    m_connected.Reset();
    m_mt = AM_MEDIA_TYPE{};
    return hr;
  }
  hr = CompleteConnect(receiver);
  if (FAILED(hr)) {
    receiver->Disconnect();
    BreakConnect();
    m_connected.Reset();
    m_mt = AM_MEDIA_TYPE{};
  }
  return hr;
}

HRESULT CBasePin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
  if (!receiver) return E_POINTER;
  AutoLock lock(*m_pLock);
  if (m_direction != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
  if (m_connected) return VFW_E_ALREADY_CONNECTED;
  if (m_pFilter->State() != State_Stopped) return VFW_E_WRONG_STATE;
  if (type) return TryConnect(receiver, *type);
  for (const AM_MEDIA_TYPE& offered : OfferedMediaTypes())
    if (SUCCEEDED(TryConnect(receiver, offered))) return S_OK;
  std::vector<AM_MEDIA_TYPE> theirs;
  receiver->EnumMediaTypes(&theirs);
  for (const AM_MEDIA_TYPE& offered : theirs)
    if (SUCCEEDED(TryConnect(receiver, offered))) return S_OK;
  return VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
  if (!connector || !type) return E_POINTER;
  AutoLock lock(*m_pLock);
  if (m_direction != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
  if (m_connected) return VFW_E_ALREADY_CONNECTED;
  if (m_pFilter->State() != State_Stopped) return VFW_E_WRONG_STATE;
  if (CheckMediaType(type) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  m_connected = connector;
  m_mt = *type;
  const HRESULT hr = CompleteConnect(connector);
  if (FAILED(hr)) {
    BreakConnect();
    m_connected.Reset();
    m_mt = AM_MEDIA_TYPE{};
  }
  return hr;
}

HRESULT CBasePin::Disconnect() {
  AutoLock lock(*m_pLock);
  if (!m_connected) return S_FALSE;
  BreakConnect();
  m_connected.Reset();
  m_mt = AM_MEDIA_TYPE{};
  return S_OK;
}

HRESULT CBasePin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  AutoLock lock(*m_pLock);
  *pin = nullptr;
  if (!m_connected) return VFW_E_NOT_CONNECTED;
  return m_connected.CopyTo(pin);
}

HRESULT CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  AutoLock lock(*m_pLock);
  if (!m_connected) {
    *type = AM_MEDIA_TYPE{};
    return VFW_E_NOT_CONNECTED;
  }
  *type = m_mt;
  return S_OK;
}

HRESULT CBasePin::QueryFilter(IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  *filter = m_pFilter;
  m_pFilter->AddRef();
  return S_OK;
}

HRESULT CBasePin::QueryDirection(PIN_DIRECTION* direction) {
  if (!direction) return E_POINTER;
  *direction = m_direction;
  return S_OK;
}

HRESULT CBasePin::QueryId(std::u16string* id) {
  if (!id) return E_POINTER;
  *id = m_name;
  return S_OK;
}

HRESULT CBasePin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  return CheckMediaType(type) == S_OK ? S_OK : S_FALSE;
}

HRESULT CBasePin::EnumMediaTypes(std::vector<AM_MEDIA_TYPE>* types) {
  if (!types) return E_POINTER;
  *types = OfferedMediaTypes();
  return S_OK;
}

HRESULT CBaseInputPin::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IidOf<IMemInputPin>()) {
    *out = static_cast<IMemInputPin*>(this);
    AddRef();
    return S_OK;
  }
  return CBasePin::QueryInterface(iid, out);
}

HRESULT CBaseInputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (m_pFilter->State() == State_Stopped) return VFW_E_WRONG_STATE;
  if (m_bFlushing) return S_FALSE;
  m_bEndOfStream = false;
  return S_OK;
}

HRESULT CBaseInputPin::EndOfStream() {
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (m_bFlushing) return S_FALSE;
  m_bEndOfStream = true;
  return S_OK;
}

HRESULT CBaseInputPin::BeginFlush() {
  m_bFlushing = true;
  return S_OK;
}

HRESULT CBaseInputPin::EndFlush() {
  m_bFlushing = false;
  m_bEndOfStream = false;
  return S_OK;
}

HRESULT CBaseInputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) {
  return IsConnected() ? S_OK : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin* receiver) {
  m_input = QueryAs<IMemInputPin>(receiver);
  return m_input ? S_OK : E_NOINTERFACE;
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample) {
  ComPtr<IMemInputPin> input;
  {
    AutoLock lock(*m_pLock);
    input = m_input;
  }
  if (!input) return VFW_E_NOT_CONNECTED;
  return input->Receive(sample);
}

ComPtr<IPin> CBaseOutputPin::ConnectedPin() {
  AutoLock lock(*m_pLock);
  return m_connected;
}

HRESULT CBaseOutputPin::DeliverEndOfStream() {
  ComPtr<IPin> pin = ConnectedPin();
  return pin ? pin->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverBeginFlush() {
  ComPtr<IPin> pin = ConnectedPin();
  return pin ? pin->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndFlush() {
  ComPtr<IPin> pin = ConnectedPin();
  return pin ? pin->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  ComPtr<IPin> pin = ConnectedPin();
  return pin ? pin->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}
