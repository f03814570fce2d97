#include "ExportCommand.h"

#include <fmt/format.h>

#include <memory>

#include "OutputText.h"
#include "StoredChannels.h"
#include "channels/ChannelExports.h"
#include "channels/Dvbv5Channels.h"

namespace {
struct ExportOptions {
  std::string format;
  std::string output;
  std::string streamUrl = "http://127.0.0.1:8080/stream/";
};

void RunExport(const HostOptions& host, const ExportOptions& options) {
  const ChannelList channels = LoadStoredChannels(host.ChannelsPath());
  size_t skipped = 0;
  std::string text;
  if (options.format == "dvbv5") text = Dvbv5Text(Dvbv5ChannelEntries(channels, skipped));
  else if (options.format == "vdr") text = VdrChannelsText(channels, skipped);
  else if (options.format == "m3u") text = M3uText(channels, options.streamUrl);
  else text = XmltvChannelsText(channels);
  if (skipped)
    fmt::print(stderr, "dtv export: {} of {} channels have no known delivery system and were left out\n", skipped,
               channels.size());
  WriteOutputText(options.output, text);
}
}  // namespace

void AddExportCommand(CLI::App& app, const HostOptions& options) {
  auto exportOptions = std::make_shared<ExportOptions>();
  auto* command = app.add_subcommand("export", "Write the stored channels in another program's format");
  command->add_option("--format", exportOptions->format, "dvbv5 (dvbv5-zap), vdr (channels.conf), m3u, xmltv-channels")
      ->required()
      ->check(CLI::IsMember({"dvbv5", "vdr", "m3u", "xmltv-channels"}));
  command->add_option("-o,--output", exportOptions->output, "Output file (default: standard output)");
  command->add_option("--stream-url", exportOptions->streamUrl,
                      "m3u: the address each channel's number is appended to")
      ->capture_default_str();
  command->callback([&options, exportOptions] { RunExport(options, *exportOptions); });
}
