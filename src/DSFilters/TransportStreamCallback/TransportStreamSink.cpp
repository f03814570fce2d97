#include "DSFilters/TransportStreamCallback/TransportStreamSink.h"

#include <new>

#include "logging/LogFile.h"
#include "platform/sync/Clock.h"

CTransportStreamSink::CTransportStreamSink() {
  if (!m_worker.Start(THREAD_PRIORITY_NORMAL)) throw std::bad_alloc();
}

CTransportStreamSink::~CTransportStreamSink() {
  m_worker.RequestStop();
  m_ending.Set();
  m_worker.Stop();
}

ComPtr<ITransportStreamSinkCallback> CTransportStreamSink::Callback() {
  std::lock_guard lock(m_callbackLock);
  return m_pCallback;
}

HRESULT CTransportStreamSink::SetCallback(ITransportStreamSinkCallback* callback) {
  if (!callback) return E_POINTER;
  ComPtr<ITransportStreamSinkCallback> previous(callback);
  {
    std::lock_guard lock(m_callbackLock);
    m_pCallback.Swap(previous);
  }
  return S_OK;
}

HRESULT CTransportStreamSink::StopDeliver() {
  m_fifo.Abort();
  if (auto callback = Callback()) callback->OnStopDeliver();
  return S_OK;
}

void CTransportStreamSink::HoldUntilStartDeliver() { m_fifo.Abort(); }

HRESULT CTransportStreamSink::StartDeliver() {
  m_fifo.Reset();
  if (auto callback = Callback()) callback->OnStartDeliver();
  return S_OK;
}

HRESULT CTransportStreamSink::EnableSink(VARIANT_BOOL on) {
  m_bEnabled = on != VARIANT_FALSE;
  return S_OK;
}

HRESULT CTransportStreamSink::ClearBuffers() {
  // Waits for bytes already read for the host, so none of them follows the
  // clear (a retune must not hand the host the old channel's last bytes).
  AutoLock delivery(m_deliveryLock);
  m_fifo.Clear();
  return S_OK;
}

void CTransportStreamSink::Flush() {
  AutoLock delivery(m_deliveryLock);
  const bool delivering = !m_fifo.Aborted();
  m_fifo.Clear();
  if (!delivering) m_fifo.Abort();
}

HRESULT CTransportStreamSink::EnableBlockingMode(VARIANT_BOOL on) {
  m_bBlocking = on != VARIANT_FALSE;
  log(1, "CTransportStreamSinkFilter::EnableBlockingMode(%s)", m_bBlocking ? "true" : "false");
  return S_OK;
}

HRESULT CTransportStreamSink::Receive(const uint8_t* data, size_t length) {
  if (!m_bEnabled || !data || length == 0) return S_OK;
  const size_t written = m_fifo.Write(data, length);
  if (written == length) return S_OK;
  size_t missing = length - written;
  if (!m_bBlocking) {
    m_lostBytes += missing;
    log(1, "ERROR in TSSink: %d bytes lost", static_cast<int>(missing));
    return S_OK;
  }
  // Wait for room for the whole rest, in steps, but never past the limit;
  // a stopped sink will not make room.
  for (uint32_t waited = 0; m_fifo.FreeSpace() < missing && waited < kBlockingLimitMs && !m_fifo.Aborted();
       waited += kPollMs)
    SleepMs(kPollMs);
  if (m_fifo.FreeSpace() >= missing) missing -= m_fifo.Write(data + written, missing);
  if (missing > 0) {
    m_lostBytes += missing;
    log(1, "ERROR in TSSink: %d bytes lost anyway", static_cast<int>(missing));
  }
  return S_OK;
}

void CTransportStreamSink::Deliver() {
  if (m_fifo.Aborted()) {
    Pause(2 * kPollMs);
    return;
  }
  {
    AutoLock delivery(m_deliveryLock);
    const size_t count = m_fifo.Read(m_pReadBuffer.get(), kReadBufferSize);
    if (count > 0) {
      if (auto callback = Callback()) callback->OnData(m_pReadBuffer.get(), static_cast<LONG>(count));
      return;
    }
  }
  // Reset before the second look, so that a write in between still wakes the wait.
  m_fifo.DataAvailable().ResetEvent();
  if (m_fifo.FillCount() == 0) Event::WaitAny({&m_ending, &m_fifo.DataAvailable()}, kPollMs);
}
