#include "EpgCommand.h"

#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <optional>
#include <set>

#include "HardwareOptions.h"
#include "StoredChannels.h"
#include "analyze/ChannelListJson.h"
#include "analyze/EpgOutput.h"
#include "channels/ChannelLookup.h"
#include "channels/ChannelProperties.h"
#include "dtvhost/HostError.h"
#include "live/ChannelTuning.h"
#include "live/GuideCollection.h"
#include "live/LiveGuide.h"
#include "live/ProgressOutput.h"
#include "live/StopRequest.h"

namespace {
// DVB repeats a multiplex's schedule within 10 s (the week ahead within 30 s); an
// incomplete guide is taken as it is then.
constexpr double kDefaultSeconds = 30;

struct EpgOptions {
  std::string target;
  std::optional<double> seconds;
  std::string xmltv;
  bool json = false;
  bool background = false;
};

struct Reception {
  ComPtr<IKxCaptureDevice> device;
  ComPtr<IKxChannel> channel;
};

// CHANNEL: its multiplex on its device. DEVICE: one channel of each stored multiplex it receives.
std::vector<Reception> Receptions(const PluginSession& session, const ChannelList& channels, const std::string& file,
                                  const std::string& target) {
  std::string channelError;
  if (const std::optional<size_t> index = FindChannel(channels, target, file, channelError)) {
    const auto devices = session.DevicesFor(channels[*index].Get());
    if (devices.empty()) throw HostError(fmt::format("no device receives {}", ChannelLabel(channels[*index].Get())));
    return {{devices.front(), channels[*index]}};
  }
  ComPtr<IKxCaptureDevice> device;
  try {
    device = session.FindDevice(target);
  } catch (const HostError&) {
    throw HostError(fmt::format("no channel or device '{}'; 'dtv channels' and 'dtv devices' list them", target));
  }
  std::vector<Reception> receptions;
  std::set<LONG> frequencies;
  const std::string moniker = MonikerOf(device.Get());
  for (const ComPtr<IKxChannel>& channel : channels) {
    const auto devices = session.DevicesFor(channel.Get());
    const bool receivable = std::any_of(devices.begin(), devices.end(),
                                        [&](const ComPtr<IKxCaptureDevice>& d) { return MonikerOf(d.Get()) == moniker; });
    if (receivable && frequencies.insert(LongOf(channel.Get(), &IKxChannel::get_CarrierFrequency)).second)
      receptions.push_back({device, channel});
  }
  if (receptions.empty()) throw HostError(fmt::format("no stored channel is received by device '{}'", target));
  return receptions;
}

void RunEpg(const HostOptions& host, const HWConfigOptions& hardware, const EpgOptions& options) {
  PluginSession session(host.PluginPath(), hardware);
  const std::string file = host.ChannelsPath();
  const ChannelList channels = LoadStoredChannels(file);
  const std::vector<Reception> receptions = Receptions(session, channels, file, options.target);
  if (options.background && receptions.size() != 1)
    throw HostError(fmt::format("--background collects while receiving one channel; '{}' is a device", options.target));
  LiveGuide guide;
  guide.AddChannels(channels);
  StopRequest stop;
  {
    ProgressOutput progress;
    for (const Reception& reception : receptions) {
      if (stop.Requested()) break;
      progress.Show(fmt::format("programme guide of {}", ChannelLabel(reception.channel.Get())));
      (options.background ? CollectGuideInBackground : CollectGuide)(
          reception.device.Get(), reception.channel.Get(), options.seconds.value_or(kDefaultSeconds), stop.Stopped(),
          guide);
    }
  }
  fmt::print(stderr, "{} events{}\n", guide.events->Count(), stop.Interrupted() ? " (stopped)" : "");
  if (!options.xmltv.empty()) {
    std::string error;
    if (!WriteXmltv(*guide.events, *guide.channels, options.xmltv, error)) throw HostError(error);
  } else if (options.json) {
    std::cout << JsonText(nlohmann::ordered_json{{"events", EpgEventsToJson(*guide.events)}}) << '\n';
  } else {
    PrintEpgText(*guide.events, *guide.channels, std::cout);
  }
}
}  // namespace

void AddEpgCommand(CLI::App& app, const HostOptions& options) {
  auto epg = std::make_shared<EpgOptions>();
  auto* command = app.add_subcommand("epg", "Receive the programme guide of a channel's multiplex or of a device's");
  command->add_option("target", epg->target, "A stored channel (number or name) or a device")->required();
  command->add_option("--duration", epg->seconds, "Longest wait per multiplex in seconds (default 30)")
      ->check(CLI::PositiveNumber);
  auto* xmltv = command->add_option("--xmltv", epg->xmltv, "Write the guide as XMLTV to this file");
  command->add_flag("--json", epg->json, "Print the events as JSON, with the fields of 'dtv analyze --json --epg'")
      ->excludes(xmltv);
  command->add_flag("--background", epg->background,
                    "Receive the channel for --duration while its graph collects the guide in the background");
  const auto hardware = AddHardwareOptions(command);
  command->callback([&options, epg, hardware] { RunEpg(options, *hardware, *epg); });
}
