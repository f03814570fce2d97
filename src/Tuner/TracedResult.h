#pragma once
// Traces a failing result under the expression text the log readers know
// (the call as the original sources wrote it), then reports the failure.
#include "logging/LogFile.h"

inline bool FailedTraced(HRESULT hr, const char* expression, const char* file) {
  traceFailure(hr, expression, file);
  return FAILED(hr);
}
