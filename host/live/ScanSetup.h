#pragma once
// How a channel search is set up from the command line: the country whose
// networks the built-in lists give, or a tuning-data file of the user's own;
// whether the NIT's transponders join; the LNBs of a dish.
#include <CLI/CLI.hpp>

#include "interfaces/IKxTuner.h"

struct ScanSetup {
  long country = 0;  // 0: every network of the list
  bool networkSearch = false;
  std::string tuningData;
  std::vector<std::string> lnbs;  // POS:SAT:LOW:HIGH:SWITCH each
};

void AddScanSetupOptions(CLI::App* command, ScanSetup& setup);
// HostError when a setting is malformed or the tuner refuses it.
void ApplyScanSetup(IKxTuner* tuner, const ScanSetup& setup);
