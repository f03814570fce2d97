// dtv: a command-line host for the digital TV plug-in.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include <fmt/ranges.h>

#include <algorithm>
#include <exception>
#include <system_error>

#include "AnalyzeCommand.h"
#include "ChannelsCommand.h"
#include "EpgCommand.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "ReceptionCommands.h"
#include "ScanCommand.h"
#include "ServeCommand.h"
#include "DevicesCommand.h"
#include "HostOptions.h"
#include "InfoCommand.h"
#include "StandardOutput.h"
#include "dtvhost/HostError.h"

namespace {

constexpr int kUsageStatus = 2;

// The first word that is neither an option nor the value of --plugin: what
// the user meant as the command.
const char* CommandWord(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--plugin" || arg == "--channels") {
      ++i;
      continue;
    }
    if (!arg.empty() && arg.front() != '-') return argv[i];
  }
  return nullptr;
}

std::vector<std::string> CommandNames(CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
    names.push_back(command->get_name());
  return names;
}

int Run(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const std::vector<std::string> commands = CommandNames(app);
    const char* word = CommandWord(argc, argv);
    if (word && std::find(commands.begin(), commands.end(), word) == commands.end()) {
      fmt::print(stderr, "dtv: unknown command '{}'; the commands are: {}\n", word, fmt::join(commands, ", "));
      return kUsageStatus;
    }
    // --help and the exit status of a command that already said why.
    if (e.get_exit_code() == 0 || dynamic_cast<const CLI::RuntimeError*>(&e)) return app.exit(e);
    // CLI11's own codes mean nothing to a shell; a usage error is 2.
    fmt::print(stderr, "dtv: {}\nRun 'dtv --help' for the commands and their options.\n", e.what());
    return kUsageStatus;
  } catch (const HostError& e) {
    fmt::print(stderr, "dtv: {}\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  IgnoreBrokenPipes();
  int status = 1;
  try {
    CLI::App app{"dtv: command-line host of the digital TV plug-in"};
    app.require_subcommand(1);
    // Shared options may follow the subcommand's name as well.
    app.fallthrough();
    HostOptions options;
    app.add_option("--plugin", options.pluginPath, "Plug-in module to load (default: the one next to dtv)");
    app.add_option("--channels", options.channelsPath, "Channel list file (default: " + DefaultChannelFile() + ")");
    AddInfoCommand(app, options);
    AddDevicesCommand(app, options);
    AddAnalyzeCommand(app);
    AddChannelsCommand(app, options);
    AddExportCommand(app, options);
    AddImportCommand(app, options);
    AddScanCommand(app, options);
    AddWatchCommand(app, options);
    AddRecordCommand(app, options);
    AddEpgCommand(app, options);
    AddServeCommand(app, options);
    status = Run(app, argc, argv);
  } catch (const std::system_error& e) {
    if (!IsClosedByReader(e.code().value())) {
      fmt::print(stderr, "dtv: {}\n", e.what());
      return 1;
    }
    status = 0;
  } catch (const std::exception& e) {
    fmt::print(stderr, "dtv: unexpected error: {}\n", e.what());
    return 1;
  } catch (...) {
    fmt::print(stderr, "dtv: unexpected error\n");
    return 1;
  }
  return FinishStandardOutput(status);
}
