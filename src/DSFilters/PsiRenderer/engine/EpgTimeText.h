#pragma once
// Local-time texts of event times for the log lines.
#include <cstdint>
#include <string>

// `format` is a strftime format; the time is seconds since the epoch (UTC).
std::string FormatLocalTime(int64_t seconds, const char* format);
