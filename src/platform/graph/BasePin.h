#pragma once
// Pin base classes. A pin lives inside its filter and shares its reference
// count; the filter's lock guards connection state.
#include <atomic>
#include <string>

#include "platform/graph/GraphInterfaces.h"
#include "platform/sync/RecursiveLock.h"

class CBaseFilter;

class CBasePin : public IPin {
 public:
  CBasePin(CBaseFilter* filter, RecursiveLock* lock, std::u16string name, PIN_DIRECTION direction);
  virtual ~CBasePin() = default;

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
  HRESULT ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
  HRESULT Disconnect() override;
  HRESULT ConnectedTo(IPin** pin) override;
  HRESULT ConnectionMediaType(AM_MEDIA_TYPE* type) override;
  HRESULT QueryFilter(IBaseFilter** filter) override;
  HRESULT QueryDirection(PIN_DIRECTION* direction) override;
  HRESULT QueryId(std::u16string* id) override;
  HRESULT QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT EnumMediaTypes(std::vector<AM_MEDIA_TYPE>* types) override;
  // Output pins do not take stream control from upstream.
  HRESULT EndOfStream() override { return E_UNEXPECTED; }
  HRESULT BeginFlush() override { return E_UNEXPECTED; }
  HRESULT EndFlush() override { return E_UNEXPECTED; }
  HRESULT NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_UNEXPECTED; }

  // S_OK when the pin takes `type`; anything else refuses it.
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) = 0;
  // The types offered when connecting without a given type.
  virtual std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() { return {}; }
  // Called when a connection is made or broken.
  virtual HRESULT CompleteConnect(IPin*) { return S_OK; }
  virtual void BreakConnect() {}

  bool IsConnected() const { return m_connected != nullptr; }
  const AM_MEDIA_TYPE& CurrentMediaType() const { return m_mt; }
  const std::u16string& Name() const { return m_name; }

 protected:
  CBaseFilter* const m_pFilter;
  RecursiveLock* const m_pLock;
  ComPtr<IPin> m_connected;
  AM_MEDIA_TYPE m_mt;

 private:
  HRESULT TryConnect(IPin* receiver, const AM_MEDIA_TYPE& type);

  const std::u16string m_name;
  const PIN_DIRECTION m_direction;
};

class CBaseInputPin : public CBasePin, public IMemInputPin {
 public:
  CBaseInputPin(CBaseFilter* filter, RecursiveLock* lock, std::u16string name)
      : CBasePin(filter, lock, std::move(name), PINDIR_INPUT) {}

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return CBasePin::AddRef(); }
  ULONG Release() override { return CBasePin::Release(); }

  // The base check every Receive runs first: the filter must not be stopped
  // and the pin not flushing (S_FALSE: the sample is dropped).
  HRESULT Receive(IMediaSample* sample) override;

  // Filters that pass stream control on override these and call the base.
  HRESULT EndOfStream() override;
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  bool IsFlushing() const { return m_bFlushing.load(); }
  bool AtEndOfStream() const { return m_bEndOfStream.load(); }

 private:
  std::atomic<bool> m_bFlushing{false};
  std::atomic<bool> m_bEndOfStream{false};
};

class CBaseOutputPin : public CBasePin {
 public:
  CBaseOutputPin(CBaseFilter* filter, RecursiveLock* lock, std::u16string name)
      : CBasePin(filter, lock, std::move(name), PINDIR_OUTPUT) {}

  HRESULT CompleteConnect(IPin* receiver) override;
  void BreakConnect() override { m_input.Reset(); }
  // Hands the sample (or the stream control) to the connected input pin.
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

 private:
  ComPtr<IPin> ConnectedPin();

  ComPtr<IMemInputPin> m_input;
};
