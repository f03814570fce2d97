#pragma once
// The helper window's thread: owns the hidden "Graph Message Polling Window"
// from its start until it is told to quit. The video window's input would be
// forwarded from here to the owner window; this port has no window system,
// so the thread only marks the window's lifetime for the build thread.
#include "platform/sync/Event.h"
#include "threads/KxThreadBase.h"

class CHelperWindowWithThread : public CKxThreadBase {
 public:
  ~CHelperWindowWithThread() override;
  // Starts the thread and waits until its window exists; false when no
  // thread could be made.
  bool Start();
  // Posts the quit message and waits for the thread (no time-out).
  void Quit();
  bool HasWindow() const { return m_windowExists.IsSet(); }

 protected:
  void Run() override;

 private:
  Event m_windowExists{Event::Reset::Manual};
  Event m_quit{Event::Reset::Manual};
};
