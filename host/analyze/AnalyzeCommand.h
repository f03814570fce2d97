#pragma once
// `dtv analyze FILE.ts [--atsc] [--json] [--epg [--xmltv FILE]]`: the channels
// (and the programme guide) of a recorded stream, "-" for standard input.
// Damage the stream survives (a cut end, junk between packets) is reported as
// warnings; the channels found are still listed.
#include <functional>
#include <ostream>
#include <string>

#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"

struct AnalyzeOptions {
  std::string path;   // "-": standard input
  bool atsc = false;  // read the ATSC tables (PAT, PMT, VCT) instead of the DVB ones
  bool json = false;
  bool epg = false;   // also read the EPG of the actual transport stream
  std::string xmltv;  // with epg: write the events to this XMLTV file
  std::string saveChannels;  // write the channels found as a channel list file
  // Writes the channel list file; false with the error.
  std::function<bool(const TransportStreamAnalysis&, const std::string& path, std::string& error)> channelListWriter;
};

// Prints the channel list to out and the warnings to err; on bad input prints
// the reason to err and returns 1. Checking the writes to out is the caller's.
int RunAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err);
