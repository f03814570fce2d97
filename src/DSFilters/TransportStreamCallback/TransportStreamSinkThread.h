#pragma once
// The sink's worker: passes the ring's content to the host callback until
// asked to stop. Started with the sink, stopped and joined at its end.
#include <atomic>
#include <functional>

#include "platform/sync/Thread.h"

class CTransportStreamSinkThread {
 public:
  // `pass` is one pass of the loop; it sleeps itself when there is nothing to do.
  explicit CTransportStreamSinkThread(std::function<void()> pass) : m_pass(std::move(pass)) {}
  CTransportStreamSinkThread(const CTransportStreamSinkThread&) = delete;
  CTransportStreamSinkThread& operator=(const CTransportStreamSinkThread&) = delete;
  ~CTransportStreamSinkThread() { Stop(); }

  bool Start(int priority);
  // Asks the loop to end and waits for it, without time-out.
  void Stop();

 private:
  void Run();

  std::function<void()> m_pass;
  std::atomic<bool> m_bStopRequested{false};
  SuspendedThread m_thread;
};
