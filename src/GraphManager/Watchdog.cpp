#include "GraphManager/Watchdog.h"

#include <unistd.h>

#include <cstdio>
#include <system_error>

#include "logging/LogFile.h"

namespace {
[[noreturn]] void TerminateProcess(uint32_t timeoutMs) {
  log(1, "ERROR: timeout reached -> terminate process");
  LogFileFlush();
  std::fprintf(stderr, "DigitalTvPlugin watchdog: a filter graph state change took more than %u ms; ending the process\n",
               timeoutMs);
  std::fflush(stderr);
  // Other threads may hang in the graph: no exit handlers, no destructors.
  ::_exit(kWatchdogExitStatus);
}
}  // namespace

bool CGraphWatchdog::Arm(uint32_t timeoutMs) {
  Disarm();
  try {
    m_thread = std::thread([this, timeoutMs] {
      if (!m_done.Wait(timeoutMs)) TerminateProcess(timeoutMs);
    });
  } catch (const std::system_error&) {
    log(1, "ERROR: creating timeout thread failed.");
    return false;
  }
  return true;
}

void CGraphWatchdog::Disarm() {
  if (!m_thread.joinable()) return;
  m_done.Set();
  m_thread.join();
}
