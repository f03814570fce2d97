#include "AnalyzeCommand.h"

#include <unistd.h>

#include <cstring>
#include <iostream>
#include <memory>

#include "analyze/AnalyzeCommand.h"
#include "analyze/FdStreamBuf.h"
#include "channels/AnalysisChannels.h"
#include "channels/ChannelFile.h"
#include "StandardOutput.h"
#include "dtvhost/HostError.h"

namespace {
// Standard output is closed here so that a full disk, often seen only at
// the final flush or close, is an error; a reader that has gone is not.
int RunAnalyzeToStandardOutput(const AnalyzeOptions& options) {
  CFdStreamBuf buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  int code = RunAnalyze(options, out, std::cerr);
  out.flush();
  if (!buffer.Close() && !IsClosedByReader(buffer.Error())) {
    std::cerr << "dtv analyze: cannot write standard output: " << std::strerror(buffer.Error()) << '\n';
    code = 1;
  }
  return code;
}
}  // namespace

void AddAnalyzeCommand(CLI::App& app) {
  auto options = std::make_shared<AnalyzeOptions>();
  auto* command = app.add_subcommand("analyze", "List the channels of a recorded transport stream");
  command->add_option("file", options->path, "Transport stream file (.ts, .m2ts; - for standard input)")->required();
  command->add_flag("--atsc", options->atsc, "Read the ATSC tables (VCT) instead of the DVB ones");
  command->add_flag("--json", options->json, "Print one JSON object");
  command->add_flag("--epg", options->epg, "Also read the programme guide (EIT; ATSC: EIT and ETT)");
  command->add_option("--xmltv", options->xmltv, "With --epg: write the programme guide as XMLTV to this file")
      ->needs("--epg");
  command->add_option("--save-channels", options->saveChannels,
                      "Also write the channels found as a channel list file (for 'dtv channels' and 'dtv export')");
  options->channelListWriter = [](const TransportStreamAnalysis& analysis, const std::string& path,
                                  std::string& error) {
    return SaveChannelFile(path, ChannelsFromAnalysis(analysis), error);
  };
  command->callback([options] {
    if (RunAnalyzeToStandardOutput(*options) != 0) throw CLI::RuntimeError(1);
  });
}
