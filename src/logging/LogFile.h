#pragma once
// The process-wide log. Messages are UTF-8, printf-style.
#include <cstdint>

// Writes one message when the configured level is at least `level`.
void log(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
