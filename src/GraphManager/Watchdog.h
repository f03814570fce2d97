#pragma once
// Guards a graph state change: when it does not end within the configured
// time, the graph is taken to hang and the whole process ends with
// kWatchdogExitStatus, after the log has been flushed.
#include <cstdint>
#include <memory>
#include <thread>

#include "platform/sync/Event.h"

// Like timeout(1): the status of a process ended because something took too long.
constexpr int kWatchdogExitStatus = 124;

class CGraphWatchdog {
 public:
  // Arms the watchdog for `timeoutMs`; false (logged) when no thread could be made.
  bool Arm(uint32_t timeoutMs);
  // Ends a watch in time.
  void Disarm();
  ~CGraphWatchdog() { Disarm(); }

 private:
  Event m_done{Event::Reset::Auto};
  std::thread m_thread;
};
