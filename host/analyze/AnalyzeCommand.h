#pragma once
// `dtv analyze FILE.ts [--atsc] [--json]`: the channels of a recorded stream.
#include <ostream>
#include <string>

struct AnalyzeOptions {
  std::string path;
  bool atsc = false;  // read the ATSC tables (PAT, PMT, VCT) instead of the DVB ones
  bool json = false;
};

// Prints the channel list to out; on bad input prints the reason to err and returns 1.
int RunAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err);
