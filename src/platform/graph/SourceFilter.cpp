#include "platform/graph/SourceFilter.h"

#include "platform/sync/Clock.h"

CSourceFilter::CSourceFilter(std::u16string name, const CLSID& clsid, size_t sampleCapacity)
    : CBaseFilter(std::move(name), clsid), m_output(this, &m_lock), m_sampleCapacity(sampleCapacity) {}

HRESULT CSourceFilter::OutputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return type && type->majortype == MEDIATYPE_Stream && type->subtype == MEDIASUBTYPE_MPEG2_TRANSPORT ? S_OK
                                                                                                      : S_FALSE;
}

CSourceFilter::~CSourceFilter() {
  StopStreaming();
  // Released last on its own thread, which is past its last use of the filter.
  if (m_thread.joinable()) m_thread.detach();
}

HRESULT CSourceFilter::Pause() {
  const HRESULT hr = CBaseFilter::Pause();
  StartStreaming();
  return hr;
}

HRESULT CSourceFilter::Run(int64_t start) {
  const HRESULT hr = CBaseFilter::Run(start);
  StartStreaming();
  return hr;
}

HRESULT CSourceFilter::GetState(uint32_t timeoutMs, FILTER_STATE* state) {
  const HRESULT hr = CBaseFilter::GetState(timeoutMs, state);
  return hr == S_OK && *state == State_Paused ? VFW_S_CANT_CUE : hr;
}

HRESULT CSourceFilter::Stop() {
  StopStreaming();
  return CBaseFilter::Stop();
}

void CSourceFilter::StartStreaming() {
  std::lock_guard threadLock(m_threadMutex);
  {
    std::lock_guard lock(m_waitMutex);
    if (m_streaming && !m_stop) return;
    m_stop = false;
    m_streaming = true;
    m_startMs = CurrentClock().NowMs();
  }
  // A thread that ended by itself (end of stream, error) is joined before the next.
  if (m_thread.joinable()) {
    if (m_thread.get_id() == std::this_thread::get_id()) return;  // restarted while it ends: stays stopped
    m_thread.join();
  }
  m_thread = std::thread([this] { Stream(); });
}

void CSourceFilter::StopStreaming() {
  const auto requestStop = [this] {
    {
      std::lock_guard lock(m_waitMutex);
      m_stop = true;
    }
    m_waitCv.notify_all();
    WakeStreaming();
  };
  // Stop from the streaming thread itself (a downstream filter stopping the
  // graph) cannot join: the thread ends after this sample and is joined at
  // the next start or stop.
  if (std::this_thread::get_id() == m_streamingThreadId.load()) return requestStop();
  std::lock_guard threadLock(m_threadMutex);
  requestStop();
  if (m_thread.joinable()) m_thread.join();
}

bool CSourceFilter::StopRequested() const {
  std::lock_guard lock(m_waitMutex);
  return m_stop;
}

uint64_t CSourceFilter::StreamingStartMs() const {
  std::lock_guard lock(m_waitMutex);
  return m_startMs;
}

void CSourceFilter::Wake() {
  {
    std::lock_guard lock(m_waitMutex);
    ++m_wakes;
  }
  m_waitCv.notify_all();
}

bool CSourceFilter::WaitUntil(uint64_t deadlineMs) {
  std::unique_lock lock(m_waitMutex);
  // Counted from the start of FillBuffer: a wake may come between what the
  // filter read (its tuning) and this wait, and must not be lost.
  return !CurrentClock().WaitUntil(lock, m_waitCv, deadlineMs,
                                   [&] { return m_stop || m_wakes != m_wakesBeforeFill; });
}

uint64_t CSourceFilter::ChangeSource() {
  std::lock_guard delivery(m_deliveryMutex);
  // Downstream drops what it holds of the old source, and nothing of the new
  // one has been delivered yet.
  if (m_output.IsConnected()) {
    m_output.DeliverBeginFlush();
    m_output.DeliverEndFlush();
  }
  return ++m_currentSource;
}

void CSourceFilter::Stream() {
  m_streamingThreadId = std::this_thread::get_id();
  Produce();
  m_streamingThreadId = std::thread::id();
  std::lock_guard lock(m_waitMutex);
  m_streaming = false;
}

void CSourceFilter::Produce() {
  const ComPtr<ComObject<CMediaSample>> sample = ComObject<CMediaSample>::Make(m_sampleCapacity);
  if (!sample) {
    NotifyEvent(EC_ERRORABORT, E_OUTOFMEMORY, 0);
    return;
  }
  OnStreamingStarts();
  while (!StopRequested()) {
    sample->SetActualDataLength(0);
    m_sampleSource = m_currentSource.load();
    {
      std::lock_guard lock(m_waitMutex);
      m_wakesBeforeFill = m_wakes;
    }
    const HRESULT hr = FillBuffer(sample.Get());
    if (StopRequested()) break;
    if (hr == S_OK) {
      std::lock_guard delivery(m_deliveryMutex);
      // A live source goes on whatever the receiver answers; it decides for itself.
      if (sample->GetActualDataLength() > 0 && m_sampleSource == m_currentSource.load()) m_output.Deliver(sample.Get());
      continue;
    }
    if (FAILED(hr)) NotifyEvent(EC_ERRORABORT, hr, 0);
    if (m_output.IsConnected()) m_output.DeliverEndOfStream();
    break;
  }
}
