#pragma once
// The transport stream sink behind the sink filter: the input pin hands every
// sample to Receive (streaming thread); a worker thread passes the bytes to
// the host callback through a 1 MiB ring. Nothing is allocated while streaming.
// The control operations are those of IKxTransportStreamSinkControl.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "DSFilters/TransportStreamCallback/TransportStreamSinkThread.h"
#include "DSFilters/TransportStreamCallback/ZuFifoElementsHandlerMemory.h"
#include "interfaces/IKxTransportStreamSink.h"
#include "platform/com/ComPtr.h"
#include "platform/sync/Event.h"
#include "platform/sync/RecursiveLock.h"

class CTransportStreamSink {
 public:
  static constexpr size_t kFifoSize = 0x100000;
  static constexpr size_t kReadBufferSize = 0x10000;
  static constexpr uint32_t kBlockingLimitMs = 3000;
  static constexpr uint32_t kPollMs = 10;

  // Allocates the buffers and starts the worker; std::bad_alloc when either
  // cannot be had.
  CTransportStreamSink();
  CTransportStreamSink(const CTransportStreamSink&) = delete;
  CTransportStreamSink& operator=(const CTransportStreamSink&) = delete;
  ~CTransportStreamSink();

  HRESULT SetCallback(ITransportStreamSinkCallback* callback);
  HRESULT StopDeliver();
  HRESULT StartDeliver();
  // Takes nothing until StartDeliver, which empties the ring: bytes handed
  // on before it would be followed by a gap.
  void HoldUntilStartDeliver();
  HRESULT EnableSink(VARIANT_BOOL on);
  HRESULT ClearBuffers();
  // Drops what the ring holds (the stream before a retune) and leaves a
  // stopped or held-off delivery as it was.
  void Flush();
  HRESULT EnableBlockingMode(VARIANT_BOOL on);

  // Input pin, streaming thread. Never fails: lost bytes are logged.
  HRESULT Receive(const uint8_t* data, size_t length);
  bool ReceiveCanBlock() const { return m_bBlocking; }
  void EndOfStream() { m_fifo.SetEndOfData(); }

  uint64_t BufferedBytes() const { return m_fifo.FillCount(); }
  uint64_t LostBytes() const { return m_lostBytes; }

 private:
  // One pass of the worker loop.
  void Deliver();
  // The worker's pause between passes; ends early when the sink goes.
  void Pause(uint32_t ms) { m_ending.Wait(ms); }
  ComPtr<ITransportStreamSinkCallback> Callback();

  CZuFifoElementsHandlerMemory m_fifo{kFifoSize};
  std::unique_ptr<uint8_t[]> m_pReadBuffer{new uint8_t[kReadBufferSize]};
  std::atomic<bool> m_bEnabled{true};
  std::atomic<bool> m_bBlocking{false};
  std::atomic<uint64_t> m_lostBytes{0};
  RecursiveLock m_deliveryLock;  // a read of the ring and its hand-over to the host
  std::mutex m_callbackLock;
  ComPtr<ITransportStreamSinkCallback> m_pCallback;
  Event m_ending{Event::Reset::Manual};
  CTransportStreamSinkThread m_worker{[this] { Deliver(); }};
};
