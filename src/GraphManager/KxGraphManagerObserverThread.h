#pragma once
// Polls the running graph on a fixed schedule, keeps the status values and
// tells the host's callbacks about changes.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "GraphManager/ObservedGraph.h"
#include "GraphManager/ObserverSchedule.h"
#include "platform/sync/Event.h"
#include "threads/KxComThreadEx.h"

class CKxGraphManagerObserverThread : public CKxComThreadEx {
 public:
  explicit CKxGraphManagerObserverThread(IKxObservedGraph& graph) : m_graph(graph) {}
  ~CKxGraphManagerObserverThread() override;

  // Starts polling for `deviceName` at the lowest priority; false when no
  // thread could be created or when asked from the observer itself.
  bool Start(std::u16string deviceName);
  // Ends the thread and waits for it, except when called from a callback on
  // the observer itself: then the thread ends when the callback returns.
  void Stop();
  bool IsCurrentThread() const { return m_threadId.load() == std::this_thread::get_id(); }

  void ResetSchedule();
  void EnablePolling(bool enable);

  // One pass of the poll loop. False when nothing ran, so the loop waits 10 ms.
  bool PollOnce();

 protected:
  void Run() override;

 private:
  // Runs a timed check when due and the graph lock can be had. `work` runs
  // under the graph lock and returns what to tell the host afterwards.
  bool RunTimedCheck(ObserverCheck check, const std::function<std::function<void()>()>& work);
  bool SignalCheck();
  bool ScrambledCheck();
  void AudioSampleCheck();
  void GraphEventCheck();
  bool VideoFormatCheck();
  bool Due(ObserverCheck check);

  IKxObservedGraph& m_graph;
  std::u16string m_deviceName;
  std::atomic<std::thread::id> m_threadId{};
  Event m_wake{Event::Reset::Manual};

  std::mutex m_observerLock;  // the schedule and the polling flag
  CObserverSchedule m_schedule;
  bool m_pollingEnabled = false;
};
