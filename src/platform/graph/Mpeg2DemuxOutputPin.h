#pragma once
// An output pin of the MPEG-2 demultiplexer: a name, the media type given at
// creation, and the PIDs it delivers with what of each.
#include <vector>

#include "platform/graph/BasePin.h"
#include "platform/graph/DemuxInterfaces.h"
#include "platform/graph/MediaSample.h"

class CMpeg2Demultiplexer;

class CMpeg2DemuxOutputPin : public CBaseOutputPin, public IMPEG2PIDMap {
 public:
  CMpeg2DemuxOutputPin(CMpeg2Demultiplexer* demux, RecursiveLock* lock, std::u16string name, AM_MEDIA_TYPE type);

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return CBasePin::AddRef(); }
  ULONG Release() override { return CBasePin::Release(); }

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() override;
  // Only while unconnected.
  HRESULT SetMediaType(const AM_MEDIA_TYPE& type);

  HRESULT MapPID(ULONG count, const ULONG* pids, MEDIA_SAMPLE_CONTENT content) override;
  HRESULT UnmapPID(ULONG count, const ULONG* pids) override;
  HRESULT EnumPIDMap(std::vector<PID_MAP>* map) override;

  // Streaming thread: delivers `size` bytes as one sample.
  HRESULT DeliverBytes(const uint8_t* data, size_t size);

 private:
  CMpeg2Demultiplexer* const m_demux;
  AM_MEDIA_TYPE m_type;
  ComPtr<ComObject<CMediaSample>> m_sample;  // reused while large enough
};
