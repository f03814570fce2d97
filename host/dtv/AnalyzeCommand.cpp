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
  command->add_flag("--epg", options->epg, "Also read the programme guide (EIT; ATSC: EIT and ETT)");
  command->add_option("--xmltv", options->xmltv, "With --epg: write the programme guide as XMLTV to this file")
      ->needs("--epg");
  command->callback([options] {
    if (RunAnalyze(*options, std::cout, std::cerr) != 0) throw CLI::RuntimeError(1);
  });
}
