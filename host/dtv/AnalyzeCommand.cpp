#include "AnalyzeCommand.h"

#include <iostream>
#include <memory>

#include "analyze/AnalyzeCommand.h"
#include "dtvhost/HostError.h"

void AddAnalyzeCommand(CLI::App& app) {
  auto options = std::make_shared<AnalyzeOptions>();
  auto* command = app.add_subcommand("analyze", "List the channels of a recorded transport stream");
  command->add_option("file", options->path, "Transport stream file (.ts)")->required();
  command->add_flag("--atsc", options->atsc, "Read the ATSC tables (VCT) instead of the DVB ones");
  command->add_flag("--json", options->json, "Print one JSON object");
  command->callback([options] {
    if (RunAnalyze(*options, std::cout, std::cerr) != 0) throw CLI::RuntimeError(1);
  });
}
