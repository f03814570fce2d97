#pragma once
// Ctrl-C for a running command: SIGINT and SIGTERM, while one of these is
// alive, set an event instead of ending the process, so that the command can
// stop its tuner and keep what it has. The command itself may set it too
// (a duration reached, a reader gone).
#include <atomic>
#include <thread>

#include "platform/sync/Event.h"

class StopRequest {
 public:
  StopRequest();
  // Puts the previous handlers back.
  ~StopRequest();
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  Event& Stopped() { return m_stopped; }
  void Request() { m_stopped.Set(); }
  bool Requested() const { return m_stopped.IsSet(); }
  // True when the stop came from a signal.
  bool Interrupted() const { return m_interrupted.load(); }

 private:
  void Watch();

  Event m_stopped;
  std::atomic<bool> m_interrupted{false};
  int m_pipe[2] = {-1, -1};
  std::thread m_watcher;
};
