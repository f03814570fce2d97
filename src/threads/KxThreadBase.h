#pragma once
// Base of the plug-in's worker threads: one thread at a time, started
// suspended so that its priority is set before it runs, with per-thread
// set-up and tear-down around the body.
#include <memory>

#include "platform/sync/Thread.h"

class CKxThreadBase {
 public:
  CKxThreadBase() = default;
  CKxThreadBase(const CKxThreadBase&) = delete;
  CKxThreadBase& operator=(const CKxThreadBase&) = delete;
  // Waits for a running thread. The body calls virtual functions, so the
  // most derived class must call WaitForThread in its own destructor.
  virtual ~CKxThreadBase();

  // Waits for the previous thread of this object to end (no time-out), then
  // starts a new one with `priority`. False when no thread could be created,
  // and when called on the object's own thread, which cannot wait for itself.
  bool Start(int priority);

 protected:
  virtual void OnThreadAttach(bool entering) {}
  virtual void Run() = 0;

  // Waits for the current thread, if any, to end (no time-out). On the
  // object's own thread it returns false at once and the thread goes on.
  bool WaitForThread();

 private:
  std::unique_ptr<SuspendedThread> m_handle;
};
