#pragma once
// How a channel search is set up from the command line: the country whose
// networks the built-in lists give, and whether the NIT's transponders join.
#include <CLI/CLI.hpp>

#include "interfaces/IKxTuner.h"

struct ScanSetup {
  long country = 0;  // 0: every network of the list
  bool networkSearch = false;
};

void AddScanSetupOptions(CLI::App* command, ScanSetup& setup);
// HostError when the tuner refuses a setting.
void ApplyScanSetup(IKxTuner* tuner, const ScanSetup& setup);
