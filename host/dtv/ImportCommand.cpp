#include "ImportCommand.h"

#include <fmt/format.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "OutputText.h"
#include "StoredChannels.h"
#include "channels/Dvbv5Channels.h"
#include "channels/ScanTable.h"
#include "dtvhost/HostError.h"
#include "platform/os/RegularFile.h"

namespace {
constexpr size_t kMaxImportBytes = 16u << 20;

struct ImportOptions {
  std::string file;
  std::string output;
};

// Channel files name their services; initial-tuning files only transponders.
bool IsChannelFile(const std::vector<Dvbv5Entry>& entries) {
  return std::any_of(entries.begin(), entries.end(), [](const Dvbv5Entry& e) { return e.Find("SERVICE_ID"); });
}

void RunImport(const HostOptions& host, const ImportOptions& options) {
  std::string error;
  const std::optional<std::string> text = ReadRegularFile(options.file, kMaxImportBytes, error);
  if (!text) throw HostError(fmt::format("cannot read {}: {}", options.file, error));
  const auto entries = ParseDvbv5(*text, error);
  if (!entries) throw HostError(fmt::format("{}: not a libdvbv5 channel or initial-tuning file: {}", options.file, error));
  if (!IsChannelFile(*entries)) {
    const std::string name = std::filesystem::path(options.file).filename().string();
    const auto xml = TuningDataXmlOfScanTable(*entries, name, error);
    if (!xml) throw HostError(fmt::format("{}: {}", options.file, error));
    if (SameFile(options.file, options.output)) throw HostError(fmt::format("cannot write {}: it is the input", options.output));
    WriteOutputText(options.output, *xml);
    return;
  }
  const auto channels = ChannelsOfDvbv5(*entries, error);
  if (!channels) throw HostError(fmt::format("{}: {}", options.file, error));
  const std::string target = options.output.empty() ? host.ChannelsPath() : options.output;
  if (SameFile(options.file, target)) throw HostError(fmt::format("cannot write {}: it is the input", target));
  SaveStoredChannels(target, *channels);
  fmt::print(stderr, "dtv import: {} channels written to {}\n", channels->size(), target);
}
}  // namespace

void AddImportCommand(CLI::App& app, const HostOptions& options) {
  auto importOptions = std::make_shared<ImportOptions>();
  auto* command = app.add_subcommand(
      "import", "Read a libdvbv5 channel file into the channel list, or a dtv-scan-tables file as tuning data");
  command->add_option("file", importOptions->file, "dvbv5 channel file, or initial-tuning file of dtv-scan-tables")
      ->required();
  command->add_option("-o,--output", importOptions->output,
                      "Channel list to write (default: --channels), or tuning data XML (default: standard output)");
  command->callback([&options, importOptions] { RunImport(options, *importOptions); });
}
