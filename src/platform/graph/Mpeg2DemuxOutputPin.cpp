#include "platform/graph/Mpeg2DemuxOutputPin.h"

#include <algorithm>
#include <cstring>

#include "platform/graph/Mpeg2Demultiplexer.h"

namespace {
constexpr ULONG kMaxPid = 0x1FFF;
}

CMpeg2DemuxOutputPin::CMpeg2DemuxOutputPin(CMpeg2Demultiplexer* demux, RecursiveLock* lock, std::u16string name,
                                           AM_MEDIA_TYPE type)
    : CBaseOutputPin(demux, lock, std::move(name)), m_demux(demux), m_type(std::move(type)) {}

HRESULT CMpeg2DemuxOutputPin::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IidOf<IMPEG2PIDMap>()) {
    *out = static_cast<IMPEG2PIDMap*>(this);
    AddRef();
    return S_OK;
  }
  return CBasePin::QueryInterface(iid, out);
}

HRESULT CMpeg2DemuxOutputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return type->majortype == m_type.majortype && type->subtype == m_type.subtype ? S_OK : S_FALSE;
}

std::vector<AM_MEDIA_TYPE> CMpeg2DemuxOutputPin::OfferedMediaTypes() {
  AutoLock lock(*m_pLock);
  return {m_type};
}

HRESULT CMpeg2DemuxOutputPin::SetMediaType(const AM_MEDIA_TYPE& type) {
  AutoLock lock(*m_pLock);
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  m_type = type;
  return S_OK;
}

HRESULT CMpeg2DemuxOutputPin::MapPID(ULONG count, const ULONG* pids, MEDIA_SAMPLE_CONTENT content) {
  if (!pids) return E_POINTER;
  if (content != MEDIA_TRANSPORT_PACKET && content != MEDIA_ELEMENTARY_STREAM) return E_NOTIMPL;
  if (std::any_of(pids, pids + count, [](ULONG pid) { return pid > kMaxPid; })) return E_INVALIDARG;
  return m_demux->Map(this, std::vector<ULONG>(pids, pids + count), content);
}

HRESULT CMpeg2DemuxOutputPin::UnmapPID(ULONG count, const ULONG* pids) {
  if (!pids) return E_POINTER;
  return m_demux->Unmap(this, std::vector<ULONG>(pids, pids + count));
}

HRESULT CMpeg2DemuxOutputPin::EnumPIDMap(std::vector<PID_MAP>* map) {
  if (!map) return E_POINTER;
  *map = m_demux->MapOf(this);
  return S_OK;
}

HRESULT CMpeg2DemuxOutputPin::DeliverBytes(const uint8_t* data, size_t size) {
  if (!IsConnected() || size == 0) return S_OK;
  if (!m_sample || static_cast<size_t>(m_sample->GetSize()) < size) {
    m_sample = ComObject<CMediaSample>::Make(std::max<size_t>(size, m_sample ? 2 * m_sample->GetSize() : 0));
    if (!m_sample) return E_OUTOFMEMORY;
  }
  uint8_t* buffer = nullptr;
  m_sample->GetPointer(&buffer);
  std::memcpy(buffer, data, size);
  m_sample->SetActualDataLength(static_cast<LONG>(size));
  return Deliver(m_sample.Get());
}
