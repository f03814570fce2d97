#pragma once
// What a running channel search shows: the state the tuner's callback
// reports, as one line that is redrawn on a terminal.
#include <cstdint>
#include <string>

struct ScanState {
  int percent = 0;
  long frequencyKHz = 0;  // of the step under way or just done; 0 before the first
  bool stepDone = false;  // percent, signal and channels include this frequency's step
  bool signalMeasured = false;
  long quality = 0;
  long strength = 0;
  size_t channels = 0;
  bool finished = false;
};

// "[ 40%] 522000 kHz  signal 100% quality 100%  4 channels  0:03 elapsed, 0:05 left";
// a step under way without a signal reading yet is "tuning".
std::string ScanProgressLine(const ScanState& state, uint64_t elapsedMs);
// "m:ss", or "h:mm:ss" from an hour on.
std::string DurationText(uint64_t ms);
