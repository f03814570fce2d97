#pragma once
// `dtv analyze FILE.ts [--atsc] [--json] [--epg [--xmltv FILE]]`: the channels
// (and the programme guide) of a recorded stream.
#include <ostream>
#include <string>

struct AnalyzeOptions {
  std::string path;
  bool atsc = false;  // read the ATSC tables (PAT, PMT, VCT) instead of the DVB ones
  bool json = false;
  bool epg = false;   // also read the EPG of the actual transport stream
  std::string xmltv;  // with epg: write the events to this XMLTV file
};

// Prints the channel list to out; on bad input prints the reason to err and returns 1.
int RunAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err);
