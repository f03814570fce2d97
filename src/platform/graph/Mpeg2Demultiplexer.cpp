#include "platform/graph/Mpeg2Demultiplexer.h"

#include <algorithm>

CMpeg2Demultiplexer::CMpeg2Demultiplexer() : CBaseFilter(u"MPEG-2 Demultiplexer", CLSID_MPEG2Demultiplexer), m_input(this) {}

int CMpeg2Demultiplexer::GetPinCount() {
  AutoLock lock(m_lock);
  return 1 + static_cast<int>(m_outputs.size());
}

CBasePin* CMpeg2Demultiplexer::GetPin(int index) {
  AutoLock lock(m_lock);
  if (index == 0) return &m_input;
  if (index < 0 || static_cast<size_t>(index) > m_outputs.size()) return nullptr;
  return m_outputs[static_cast<size_t>(index) - 1].get();
}

CMpeg2DemuxOutputPin* CMpeg2Demultiplexer::FindOutput(std::u16string_view name) {
  for (const auto& pin : m_outputs)
    if (pin->Name() == name) return pin.get();
  return nullptr;
}

HRESULT CMpeg2Demultiplexer::CreateOutputPin(const AM_MEDIA_TYPE* type, const char16_t* name, IPin** pin) {
  if (!type || !name || !pin) return E_POINTER;
  *pin = nullptr;
  if (!*name) return E_INVALIDARG;
  AutoLock lock(m_lock);
  if (FindOutput(name)) return E_INVALIDARG;  // names are unique
  m_outputs.push_back(std::make_unique<CMpeg2DemuxOutputPin>(this, &m_lock, name, *type));
  *pin = m_outputs.back().get();
  (*pin)->AddRef();
  return S_OK;
}

HRESULT CMpeg2Demultiplexer::SetOutputPinMediaType(const char16_t* name, const AM_MEDIA_TYPE* type) {
  if (!name || !type) return E_POINTER;
  AutoLock lock(m_lock);
  CMpeg2DemuxOutputPin* pin = FindOutput(name);
  return pin ? pin->SetMediaType(*type) : VFW_E_NOT_FOUND;
}

HRESULT CMpeg2Demultiplexer::DeleteOutputPin(const char16_t* name) {
  if (!name) return E_POINTER;
  std::lock_guard routes(m_routeLock);
  AutoLock lock(m_lock);
  const auto it = std::find_if(m_outputs.begin(), m_outputs.end(), [&](const auto& p) { return p->Name() == name; });
  if (it == m_outputs.end()) return VFW_E_NOT_FOUND;
  CMpeg2DemuxOutputPin* pin = it->get();
  ComPtr<IPin> other;
  if (SUCCEEDED(pin->ConnectedTo(other.Put())) && other) other->Disconnect();
  pin->Disconnect();
  DropRoutesOf(pin);
  m_deleted.push_back(std::move(*it));
  m_outputs.erase(it);
  return S_OK;
}

void CMpeg2Demultiplexer::DropRoutesOf(CMpeg2DemuxOutputPin* pin) {
  for (auto it = m_routes.begin(); it != m_routes.end();) it = it->second.pin == pin ? m_routes.erase(it) : std::next(it);
  m_packets.erase(pin);
}

HRESULT CMpeg2Demultiplexer::Map(CMpeg2DemuxOutputPin* pin, const std::vector<ULONG>& pids, MEDIA_SAMPLE_CONTENT content) {
  std::lock_guard routes(m_routeLock);
  for (ULONG pid : pids) {
    const auto [first, last] = m_routes.equal_range(static_cast<uint16_t>(pid));
    const auto known = std::find_if(first, last, [&](const auto& r) { return r.second.pin == pin; });
    if (known != last) m_routes.erase(known);  // mapped again: the new content holds
    m_routes.emplace(static_cast<uint16_t>(pid), Route{pin, content, {}});
  }
  return S_OK;
}

HRESULT CMpeg2Demultiplexer::Unmap(CMpeg2DemuxOutputPin* pin, const std::vector<ULONG>& pids) {
  std::lock_guard routes(m_routeLock);
  for (ULONG pid : pids) {
    const auto [first, last] = m_routes.equal_range(static_cast<uint16_t>(pid));
    for (auto it = first; it != last;) it = it->second.pin == pin ? m_routes.erase(it) : std::next(it);
  }
  return S_OK;
}

std::vector<PID_MAP> CMpeg2Demultiplexer::MapOf(CMpeg2DemuxOutputPin* pin) {
  std::lock_guard routes(m_routeLock);
  std::vector<PID_MAP> map;
  for (const auto& [pid, route] : m_routes)
    if (route.pin == pin) map.push_back({ULONG{pid}, route.content});
  return map;
}

void CMpeg2Demultiplexer::RoutePacket(const uint8_t* packet, uint32_t size) {
  TsPacketHeader header;
  header.Decode(packet, size);
  const auto [first, last] = m_routes.equal_range(header.pid);
  for (auto it = first; it != last; ++it) {
    Route& route = it->second;
    if (route.content == MEDIA_TRANSPORT_PACKET) {
      std::vector<uint8_t>& pending = m_packets[route.pin];
      pending.insert(pending.end(), packet, packet + size);
    } else {
      route.pes.Add(header, [&](const uint8_t* payload, size_t length) { route.pin->DeliverBytes(payload, length); });
    }
  }
}

// The packets of one input sample leave together, one sample per pin.
void CMpeg2Demultiplexer::DeliverPackets() {
  for (auto& [pin, bytes] : m_packets) {
    pin->DeliverBytes(bytes.data(), bytes.size());
    bytes.clear();
  }
}

void CMpeg2Demultiplexer::Receive(const uint8_t* data, uint32_t size) {
  std::lock_guard routes(m_routeLock);
  m_splitter.Append(data, size);
  m_splitter.ProcessBuffer();
  DeliverPackets();
}

template <class Call>
HRESULT CMpeg2Demultiplexer::ForEachOutput(Call call) {
  std::vector<CMpeg2DemuxOutputPin*> connected;
  {
    AutoLock lock(m_lock);
    for (const auto& pin : m_outputs)
      if (pin->IsConnected()) connected.push_back(pin.get());
  }
  for (CMpeg2DemuxOutputPin* pin : connected) call(*pin);
  return S_OK;
}

HRESULT CMpeg2Demultiplexer::InputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  const bool transport =
      type->subtype == MEDIASUBTYPE_MPEG2_TRANSPORT || type->subtype == KSDATAFORMAT_SUBTYPE_BDA_MPEG2_TRANSPORT;
  return type->majortype == MEDIATYPE_Stream && transport ? S_OK : S_FALSE;
}

HRESULT CMpeg2Demultiplexer::InputPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  uint8_t* data = nullptr;
  const LONG length = sample->GetActualDataLength();
  if (FAILED(sample->GetPointer(&data)) || length <= 0) return S_OK;
  m_demux->Receive(data, static_cast<uint32_t>(length));
  return S_OK;
}

HRESULT CMpeg2Demultiplexer::InputPin::EndOfStream() {
  const HRESULT hr = CBaseInputPin::EndOfStream();
  if (hr != S_OK) return hr;
  {
    // The last PES packet of each stream is complete now.
    std::lock_guard routes(m_demux->m_routeLock);
    for (auto& entry : m_demux->m_routes) {
      CMpeg2DemuxOutputPin* pin = entry.second.pin;
      entry.second.pes.Finish([pin](const uint8_t* payload, size_t length) { pin->DeliverBytes(payload, length); });
    }
  }
  return m_demux->ForEachOutput([](CMpeg2DemuxOutputPin& pin) { return pin.DeliverEndOfStream(); });
}

HRESULT CMpeg2Demultiplexer::InputPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  return m_demux->ForEachOutput([](CMpeg2DemuxOutputPin& pin) { return pin.DeliverBeginFlush(); });
}

HRESULT CMpeg2Demultiplexer::InputPin::EndFlush() {
  {
    // What was buffered belongs to the stream before the flush.
    std::lock_guard routes(m_demux->m_routeLock);
    m_demux->m_splitter.Reset();
    for (auto& [pid, route] : m_demux->m_routes) route.pes.Reset();
    for (auto& [pin, bytes] : m_demux->m_packets) bytes.clear();
  }
  CBaseInputPin::EndFlush();
  return m_demux->ForEachOutput([](CMpeg2DemuxOutputPin& pin) { return pin.DeliverEndFlush(); });
}
