#pragma once
// The status line of a running reception: lock, signal, quality, bitrate.
#include <cstdint>
#include <string>

#include "live/TunedGraph.h"

// "locked  signal 100% quality 100%  19.9 Mbit/s  0:05  12.4 MB"
std::string ReceptionLine(const SignalStatus& signal, double bitsPerSecond, uint64_t elapsedMs, uint64_t bytes);
