#include "live/ReceptionStatus.h"

#include <fmt/format.h>

#include "live/ScanProgress.h"

std::string ReceptionLine(const SignalStatus& signal, double bitsPerSecond, uint64_t elapsedMs, uint64_t bytes) {
  return fmt::format("{}  signal {}% quality {}%  {:.1f} Mbit/s  {}  {:.1f} MB", signal.locked ? "locked" : "no lock",
                     signal.strength, signal.quality, bitsPerSecond / 1e6, DurationText(elapsedMs),
                     static_cast<double>(bytes) / 1e6);
}
