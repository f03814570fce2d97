#include "logging/LogFile.h"

#include <atomic>
#include <cstdarg>
#include <mutex>
#include <string>

#include "logging/CLogFile.h"
#include "logging/ErrorMessages.h"

namespace {

std::mutex g_instanceMutex;
std::atomic<CLogFile*> g_logFile{nullptr};

CLogFile& Instance() {
  if (CLogFile* existing = g_logFile.load(std::memory_order_acquire)) return *existing;
  std::lock_guard lock(g_instanceMutex);
  if (!g_logFile.load(std::memory_order_relaxed)) g_logFile.store(new CLogFile, std::memory_order_release);
  return *g_logFile.load(std::memory_order_relaxed);
}

}  // namespace

HRESULT LogFileInit() { return Instance().Init(); }

void LogFileShutdown() {
  std::lock_guard lock(g_instanceMutex);
  delete g_logFile.exchange(nullptr, std::memory_order_acq_rel);
}

void LogFileFlush() { Instance().Flush(); }

void log(int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Instance().Write(level, format, args);
  va_end(args);
}

void traceFailure(HRESULT hr, const char* expression, const char* file) {
  if (SUCCEEDED(hr)) return;
  const char* message = SystemMessageOf(hr);
  if (!message) message = "<no error message>";
  if (expression && file)
    log(1, "ERROR: HRESULT=0x%x, '%s'; EXPR='%s'; FILE='%s'", static_cast<unsigned>(hr), message, expression, file);
  else
    log(1, "ERROR: HRESULT=0x%x, '%s'", static_cast<unsigned>(hr), message);
}
