#include "ChannelsCommand.h"

#include <iostream>
#include <memory>

#include "StoredChannels.h"
#include "analyze/ChannelListJson.h"
#include "channels/ChannelRecord.h"
#include "channels/ChannelTable.h"

namespace {
struct ChannelsOptions {
  std::string file;
  bool json = false;
};

void RunChannels(const HostOptions& host, const ChannelsOptions& options) {
  const ChannelList channels = LoadStoredChannels(options.file.empty() ? host.ChannelsPath() : options.file);
  if (!options.json) {
    WriteChannelTable(std::cout, channels);
    return;
  }
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ComPtr<IKxChannel>& channel : channels) list.push_back(ChannelToJson(ChannelRecordOf(channel.Get())));
  std::cout << JsonText(nlohmann::ordered_json{{"channels", list}}) << '\n';
}
}  // namespace

void AddChannelsCommand(CLI::App& app, const HostOptions& options) {
  auto channels = std::make_shared<ChannelsOptions>();
  auto* command = app.add_subcommand("channels", "List the stored channels");
  command->add_option("file", channels->file, "Channel list (default: --channels, else " + DefaultChannelFile() + ")");
  command->add_flag("--json", channels->json, "Print one JSON object, with the fields of 'dtv analyze --json'");
  command->callback([&options, channels] { RunChannels(options, *channels); });
}
