#pragma once
// The process-wide log. Messages are UTF-8, printf-style.
#include <cstdint>

#include "platform/com/Types.h"

// Reads the settings and opens the file; once per process, when the module
// is loaded. Always S_OK: the log never fails its caller.
HRESULT LogFileInit();
// Closes the file and drops the log; later messages find a fresh, inactive log.
void LogFileShutdown();
// Forces what was written to the disk, for a process about to end abruptly.
void LogFileFlush();

// Writes one message when the configured level is at least `level`.
void log(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Writes the failure line of a failing result at level 1; nothing for success.
void traceFailure(HRESULT hr, const char* expression, const char* file);

// Runs `call`, traces a failure with the call's text and returns it.
// Needs `static constexpr const char* kLogFile = "SourceName";` in scope.
#define RETURN_IF_FAILED(call)                                        \
  do {                                                                \
    const HRESULT hr_ = (call);                                       \
    if (FAILED(hr_)) {                                                \
      traceFailure(hr_, "(hr) = (" #call ")", kLogFile);              \
      return hr_;                                                     \
    }                                                                 \
  } while (0)
