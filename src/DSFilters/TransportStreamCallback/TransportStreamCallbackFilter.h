#pragma once
// The graph's recording exit: one input pin taking the raw transport stream,
// handed to the host callback on the sink's own thread.
#include "DSFilters/TransportStreamCallback/TransportStreamSink.h"
#include "platform/graph/BaseFilter.h"

constexpr CLSID CLSID_TransportStreamSinkFilter = MakeGuid("{E103B3E4-0275-405D-B908-8EBE6A2A714C}");

class CTransportStreamSinkFilterPin : public CBaseInputPin {
 public:
  CTransportStreamSinkFilterPin(CBaseFilter* filter, RecursiveLock* lock, CTransportStreamSink& sink)
      : CBaseInputPin(filter, lock, u"Input"), m_sink(sink) {}

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  // Streaming thread: the bytes go into the sink's ring.
  HRESULT Receive(IMediaSample* sample) override;
  // No data follows until the next start: the ring refuses it.
  HRESULT EndOfStream() override;
  // What the ring holds belongs to the stream before the flush (a retune).
  HRESULT BeginFlush() override;

 private:
  CTransportStreamSink& m_sink;
};

class CTransportStreamSinkFilter : public CBaseFilter, public IKxTransportStreamSinkControl {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IKxTransportStreamSinkControl>;

  static HRESULT CreateFilter(IBaseFilter** filter);

  CTransportStreamSinkFilter()
      : CBaseFilter(u"TransportStreamSink", CLSID_TransportStreamSinkFilter), m_pin(this, &m_lock, m_sink) {}
  virtual ~CTransportStreamSinkFilter() = default;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_pin : nullptr; }
  // A graph that starts streaming delivers from the StartDeliver that follows.
  HRESULT Pause() override;

  HRESULT SetCallback(ITransportStreamSinkCallback* callback) override { return m_sink.SetCallback(callback); }
  HRESULT StopDeliver() override { return m_sink.StopDeliver(); }
  HRESULT StartDeliver() override { return m_sink.StartDeliver(); }
  HRESULT EnableSink(VARIANT_BOOL on) override { return m_sink.EnableSink(on); }
  HRESULT ClearBuffers() override { return m_sink.ClearBuffers(); }
  HRESULT EnableBlockingMode(VARIANT_BOOL on) override { return m_sink.EnableBlockingMode(on); }
  // Bytes the ring could not take (full, stopped or after the end of stream).
  uint64_t LostBytes() const { return m_sink.LostBytes(); }
  // Bytes in the ring, not yet handed to the callback.
  uint64_t BufferedBytes() const { return m_sink.BufferedBytes(); }

 private:
  // Declared before the pin: the pin refers to it, and the worker is joined
  // after the pin is gone.
  CTransportStreamSink m_sink;
  CTransportStreamSinkFilterPin m_pin;
};
