#pragma once
// A push source: from Pause or Run on, a streaming thread fills one sample
// after the other and delivers it through the output pin, which carries the
// transport stream. Stop ends the thread and returns once it has been joined,
// so that no sample is in flight afterwards.
#include <condition_variable>
#include <cstdint>
#include <atomic>
#include <mutex>
#include <thread>

#include "platform/graph/BaseFilter.h"

class CSourceFilter : public CBaseFilter {
 public:
  CSourceFilter(std::u16string name, const CLSID& clsid, size_t sampleCapacity);
  virtual ~CSourceFilter();

  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(int64_t start) override;
  // A live source has nothing to cue while paused: the graph must not wait
  // for the renderers' first sample.
  HRESULT GetState(uint32_t timeoutMs, FILTER_STATE* state) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_output : nullptr; }

 protected:
  // On the streaming thread: fills `sample`. S_OK delivers what it holds (an
  // empty sample is not delivered); S_FALSE ends the stream; a failure ends
  // it with an error event. Waits inside go through WaitUntil, or end when
  // WakeStreaming is called.
  virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
  // On the streaming thread, before the first FillBuffer of each start.
  virtual void OnStreamingStarts() {}
  // Called by Stop, before the join, to interrupt a FillBuffer that blocks
  // on something other than WaitUntil.
  virtual void WakeStreaming() {}

  // Waits until the current clock reaches `deadlineMs`: true then; false
  // when stopping, or when Wake was called since this FillBuffer began.
  bool WaitUntil(uint64_t deadlineMs);
  // Ends a WaitUntil in progress (e.g. because the source changed).
  void Wake();
  bool StopRequested() const;
  // The clock's time when streaming was last started (by Pause or Run).
  uint64_t StreamingStartMs() const;
  // Ends streaming and joins the thread. Derived filters call it from their
  // destructor, since the thread calls their FillBuffer.
  void StopStreaming();

  CBaseOutputPin& Output() { return m_output; }

  // The source's content changed (a retune): returns the new source's number
  // once no sample of an earlier source is on its way downstream and the
  // filters downstream were flushed; samples of earlier sources not yet
  // delivered are dropped. Not on the streaming thread.
  uint64_t ChangeSource();
  // On the streaming thread, in FillBuffer: the sample holds content of source
  // `source` (by default, of the source current when FillBuffer was called).
  void SetSampleSource(uint64_t source) { m_sampleSource = source; }

 private:
  class OutputPin : public CBaseOutputPin {
   public:
    OutputPin(CBaseFilter* filter, RecursiveLock* lock) : CBaseOutputPin(filter, lock, u"MPEG2 Transport") {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() override { return {TransportStreamMediaType()}; }
  };

  void StartStreaming();
  void Stream();
  void Produce();

  OutputPin m_output;
  const size_t m_sampleCapacity;
  std::mutex m_threadMutex;  // serialises start and stop
  std::thread m_thread;
  std::atomic<std::thread::id> m_streamingThreadId;
  mutable std::mutex m_waitMutex;
  std::condition_variable m_waitCv;
  bool m_stop = false;
  bool m_streaming = false;  // a thread was started and has not ended
  uint64_t m_startMs = 0;
  uint64_t m_wakes = 0;
  uint64_t m_wakesBeforeFill = 0;
  std::mutex m_deliveryMutex;  // held while a sample travels downstream
  std::atomic<uint64_t> m_currentSource{0};
  uint64_t m_sampleSource = 0;  // streaming thread only
};
