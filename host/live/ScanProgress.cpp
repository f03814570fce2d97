#include "live/ScanProgress.h"

#include <fmt/format.h>

std::string DurationText(uint64_t ms) {
  const uint64_t seconds = ms / 1000;
  if (seconds >= 3600) return fmt::format("{}:{:02}:{:02}", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return fmt::format("{}:{:02}", seconds / 60, seconds % 60);
}

std::string ScanProgressLine(const ScanState& state, uint64_t elapsedMs) {
  std::string line = fmt::format("[{:3}%]", state.percent);
  if (state.frequencyKHz > 0) line += fmt::format(" {} kHz", state.frequencyKHz);
  if (state.signalMeasured) {
    if (state.strength > 0)
      line += fmt::format("  signal {}% quality {}%", state.strength, state.quality);
    else
      line += "  no signal";
  } else if (state.frequencyKHz > 0 && !state.stepDone) {
    line += "  tuning";
  }
  line += fmt::format("  {} channel{}  {} elapsed", state.channels, state.channels == 1 ? "" : "s",
                      DurationText(elapsedMs));
  // The rest takes as long as the part done took, step for step.
  if (state.percent > 0 && state.percent < 100 && !state.finished)
    line += ", " + DurationText(elapsedMs * static_cast<uint64_t>(100 - state.percent) /
                                static_cast<uint64_t>(state.percent)) + " left";
  return line;
}
