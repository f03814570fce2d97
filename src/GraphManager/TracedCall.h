#pragma once
// Like RETURN_IF_FAILED, for a call whose logged expression text differs from
// its source text (a step that takes the build it works on, for example).
#include "logging/LogFile.h"

#define RETURN_IF_FAILED_AS(text, call)       \
  do {                                        \
    const HRESULT hr_ = (call);               \
    if (FAILED(hr_)) {                        \
      traceFailure(hr_, "(hr) = (" text ")", kLogFile); \
      return hr_;                             \
    }                                         \
  } while (0)
