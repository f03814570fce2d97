#include "ServeCommand.h"

#include <fmt/format.h>

#include <set>
#include <thread>

#include "HardwareOptions.h"
#include "StoredChannels.h"
#include "channels/ChannelProperties.h"
#include "dtvhost/HostError.h"
#include "live/GuideCollection.h"
#include "live/StopRequest.h"
#include "live/TunedGraph.h"
#include "serve/ChannelServer.h"

namespace {
struct ServeOptions {
  // The address `dtv export --format m3u` points its streams to by default.
  std::string listen = "127.0.0.1:8080";
  double guideSeconds = 30;
};

// The guide of every stored multiplex, each on the first device that receives
// it; none when `seconds` is 0.
LiveGuide CollectStartGuide(const PluginSession& session, const ChannelList& channels, double seconds, Event& stop) {
  LiveGuide guide;
  guide.AddChannels(channels);
  std::set<LONG> frequencies;
  for (const ComPtr<IKxChannel>& channel : channels) {
    if (stop.IsSet() || seconds <= 0) break;
    if (!frequencies.insert(LongOf(channel.Get(), &IKxChannel::get_CarrierFrequency)).second) continue;
    const auto devices = session.DevicesFor(channel.Get());
    if (devices.empty()) continue;
    try {
      CollectGuide(devices.front().Get(), channel.Get(), seconds, stop, guide);
    } catch (const HostError& e) {
      // A multiplex without a guide leaves the others' guides.
      fmt::print(stderr, "dtv serve: no programme guide of {}: {}\n", ChannelLabel(channel.Get()), e.what());
    }
  }
  fmt::print(stderr, "Programme guide: {} events\n", guide.events->Count());
  return guide;
}

void RunServe(const HostOptions& host, const HWConfigOptions& hardware, const ServeOptions& options) {
  std::string error;
  const std::optional<ListenAddress> address = ParseListenAddress(options.listen, error);
  if (!address) throw HostError(error);
  PluginSession session(host.PluginPath(), hardware);
  const std::string file = host.ChannelsPath();
  ChannelList channels = LoadStoredChannels(file);
  StopRequest stop;
  ChannelServer server(session, channels, file);
  const int port = server.Bind(*address);
  server.SetGuide(CollectStartGuide(session, channels, options.guideSeconds, stop.Stopped()));
  fmt::print(stderr, "Listening on http://{}:{}/\n", address->host, port);
  std::thread watcher([&] {
    stop.Stopped().Wait();
    server.Stop();
  });
  server.Serve();
  stop.Request();
  watcher.join();
}
}  // namespace

void AddServeCommand(CLI::App& app, const HostOptions& options) {
  auto serve = std::make_shared<ServeOptions>();
  auto* command = app.add_subcommand("serve", "Serve the stored channels, their streams and guide over HTTP");
  command->add_option("--listen", serve->listen, "HOST:PORT to listen on (port 0: any free one)")
      ->capture_default_str();
  command->add_option("--guide-duration", serve->guideSeconds,
                      "Longest wait per multiplex for the programme guide at start, in seconds (0: none)")
      ->capture_default_str()
      ->check(CLI::NonNegativeNumber);
  const auto hardware = AddHardwareOptions(command);
  command->callback([&options, serve, hardware] { RunServe(options, *hardware, *serve); });
}
