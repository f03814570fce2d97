#include "GraphManager/KxGraphManagerObserverThread.h"

#include "GraphManager/DeviceRecordTable.h"
#include "logging/LogFile.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kIdleMs = 10;
}  // namespace

CKxGraphManagerObserverThread::~CKxGraphManagerObserverThread() { Stop(); }

bool CKxGraphManagerObserverThread::Start(std::u16string deviceName) {
  if (IsCurrentThread()) return false;
  WaitForThread();
  m_deviceName = std::move(deviceName);
  m_wake.ResetEvent();
  return CKxThreadBase::Start(THREAD_PRIORITY_LOWEST);
}

void CKxGraphManagerObserverThread::Stop() {
  RequestStop();
  m_wake.Set();
  if (!IsCurrentThread()) WaitForThread();
}

void CKxGraphManagerObserverThread::Run() {
  m_threadId.store(std::this_thread::get_id());
  while (!StopRequested())
    if (!PollOnce()) m_wake.Wait(kIdleMs);
  m_threadId.store(std::thread::id());
}

void CKxGraphManagerObserverThread::ResetSchedule() {
  std::lock_guard lock(m_observerLock);
  m_schedule.Reset();
}

void CKxGraphManagerObserverThread::EnablePolling(bool enable) {
  std::lock_guard lock(m_observerLock);
  m_pollingEnabled = enable;
}

bool CKxGraphManagerObserverThread::Due(ObserverCheck check) {
  std::lock_guard lock(m_observerLock);
  return m_schedule.IsDue(check);
}

bool CKxGraphManagerObserverThread::PollOnce() {
  {
    std::lock_guard lock(m_observerLock);
    if (!m_pollingEnabled) return false;
  }
  if (SignalCheck() || ScrambledCheck()) return true;
  AudioSampleCheck();
  GraphEventCheck();
  // A callback may have stopped the observer: touch the graph no more.
  if (StopRequested()) return true;
  if (VideoFormatCheck()) return true;
  std::lock_guard lock(m_observerLock);
  m_schedule.Elapse(kIdleMs);
  return false;
}

bool CKxGraphManagerObserverThread::RunTimedCheck(ObserverCheck check,
                                                   const std::function<std::function<void()>()>& work) {
  if (!Due(check) || !m_graph.TryLockGraph()) return false;
  const uint64_t start = CurrentClock().NowMs();
  const std::function<void()> notify = work();
  m_graph.UnlockGraph();
  if (notify) notify();
  const auto taken = static_cast<int64_t>(CurrentClock().NowMs() - start);
  std::lock_guard lock(m_observerLock);
  m_schedule.Finish(check, taken);
  return true;
}

bool CKxGraphManagerObserverThread::SignalCheck() {
  return RunTimedCheck(ObserverCheck::Signal, [this]() -> std::function<void()> {
    bool locked = false;
    LONG quality = 0, strength = 0;
    if (FAILED(m_graph.GetSignalStatus(&locked, &quality, &strength))) return {};
    CGraphStatus& status = m_graph.Status();
    const auto previous = status.Get(KxGraphStatus_Locked);
    status.Set(KxGraphStatus_Locked, locked ? 1 : 0);
    status.Set(KxGraphStatus_SignalQuality, quality);
    status.Set(KxGraphStatus_SignalStrength, strength);
    // Only the lock state matters to the host: quality and strength alone do not notify.
    if (previous && *previous == (locked ? 1 : 0)) return {};
    return [this, locked, quality, strength] {
      m_graph.Callbacks().FireSignalUpdate(m_deviceName, locked, quality, strength);
    };
  });
}

bool CKxGraphManagerObserverThread::ScrambledCheck() {
  return RunTimedCheck(ObserverCheck::Scrambled, [this]() -> std::function<void()> {
    bool scrambled = false;
    LONG level = 0;
    if (FAILED(m_graph.GetScrambled(&scrambled))) {
      if (FAILED(m_graph.GetMacrovisionLevel(&level))) return {};
      scrambled = level != 0 && level != 1;
    }
    CGraphStatus& status = m_graph.Status();
    const auto previousScrambled = status.Get(KxGraphStatus_Scrambled);
    const auto previousLevel = status.Get(KxGraphStatus_CopyProtectionLevel);
    status.Set(KxGraphStatus_Scrambled, scrambled ? 1 : 0);
    status.Set(KxGraphStatus_CopyProtectionLevel, level);
    if (previousScrambled && *previousScrambled == (scrambled ? 1 : 0) && previousLevel == level) return {};
    return [this, scrambled] { m_graph.Callbacks().FireScrambledUpdate(m_deviceName, scrambled); };
  });
}

void CKxGraphManagerObserverThread::AudioSampleCheck() {
  std::vector<uint8_t> sample;
  WAVEFORMATEX format{};
  if (m_graph.Callbacks().TakeAudioSample(&sample, &format) && !sample.empty())
    m_graph.Callbacks().FireAudioSample(m_deviceName, sample, format);
}

void CKxGraphManagerObserverThread::GraphEventCheck() {
  if (!Due(ObserverCheck::GraphEvent)) return;
  GraphEvent event{};
  const bool taken = m_graph.TakeGraphEvent(&event);
  {
    std::lock_guard lock(m_observerLock);
    m_schedule.Restart(ObserverCheck::GraphEvent);
  }
  if (taken) m_graph.Callbacks().FireFilterGraphEvent(m_deviceName, event.code, event.param1, event.param2);
}

bool CKxGraphManagerObserverThread::VideoFormatCheck() {
  return RunTimedCheck(ObserverCheck::VideoFormat, [this]() -> std::function<void()> {
    KxVideoFormat format;
    if (FAILED(m_graph.GetVideoFormat(&format))) return {};
    const std::pair<LONG, int64_t> values[] = {{KxDeviceRecord_VideoWidth, format.width},
                                               {KxDeviceRecord_VideoHeight, format.height},
                                               {KxDeviceRecord_FrameDuration, format.frameDuration},
                                               {KxDeviceRecord_AspectRatioX, format.aspectRatioX},
                                               {KxDeviceRecord_AspectRatioY, format.aspectRatioY}};
    bool changed = false;
    for (const auto& [id, value] : values) changed = changed || DeviceRecordTable::Get(m_deviceName, id) != value;
    if (!changed) return {};
    log(1, "current video format: %d x %d, %lld, %d x %d", format.width, format.height,
        static_cast<long long>(format.frameDuration), format.aspectRatioX, format.aspectRatioY);
    for (const auto& [id, value] : values) DeviceRecordTable::Set(m_deviceName, id, value);
    return {};
  });
}
