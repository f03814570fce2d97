#pragma once
// Base of the PSI workers: one thread running ThreadProc until it returns or
// a stop is requested. A finished thread leaves the object restartable.
// Derived classes call Stop() in their destructor, before their members go.
#include <cstdint>
#include "platform/sync/Event.h"
#include "platform/sync/RecursiveLock.h"
#include "platform/sync/Thread.h"

class CPsiReaderSimpleThread {
 public:
  CPsiReaderSimpleThread() = default;
  CPsiReaderSimpleThread(const CPsiReaderSimpleThread&) = delete;
  CPsiReaderSimpleThread& operator=(const CPsiReaderSimpleThread&) = delete;
  virtual ~CPsiReaderSimpleThread();

  // Stops a running thread, then starts a new one at this priority.
  bool Start(int priority);
  // Signals the stop event and waits for the thread without time limit.
  void Stop();
  bool IsRunning() const;

 protected:
  virtual void ThreadProc() = 0;
  bool StopRequested() { return m_StopEvent.Wait(0); }
  // Waits ms of clock time; true when a stop request ended the wait.
  bool WaitStop(uint32_t ms) { return m_StopEvent.Wait(ms); }
  // Waits until wake is set or ms of clock time passed; true when a stop request ended the wait.
  bool WaitStopOr(Event& wake, uint32_t ms) { return Event::WaitAny({&m_StopEvent, &wake}, ms) == 0; }

 private:
  mutable RecursiveLock m_lock;
  SuspendedThread m_Thread;
  Event m_StopEvent{Event::Reset::Manual};
  bool m_bRunning = false;
};
