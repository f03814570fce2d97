// dtv: a command-line host for the digital TV plug-in.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "AnalyzeCommand.h"
#include "DevicesCommand.h"
#include "HostOptions.h"
#include "InfoCommand.h"
#include "dtvhost/HostError.h"

int main(int argc, char** argv) {
  CLI::App app{"dtv: command-line host of the digital TV plug-in"};
  app.require_subcommand(1);
  // Shared options may follow the subcommand's name as well.
  app.fallthrough();
  HostOptions options;
  app.add_option("--plugin", options.pluginPath, "Plug-in module to load (default: the one next to dtv)");
  AddInfoCommand(app, options);
  AddDevicesCommand(app, options);
  AddAnalyzeCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const HostError& e) {
    fmt::print(stderr, "dtv: {}\n", e.what());
    return 1;
  }
  return 0;
}
