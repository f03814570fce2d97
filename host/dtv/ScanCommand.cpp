#include "ScanCommand.h"

#include <fmt/format.h>

#include <iostream>
#include <memory>

#include "HardwareOptions.h"
#include "StoredChannels.h"
#include "analyze/ChannelListJson.h"
#include "channels/ChannelRecord.h"
#include "dtvhost/HostError.h"
#include "live/PluginSession.h"
#include "live/ProgressOutput.h"
#include "live/ScanListener.h"
#include "live/ScanSetup.h"
#include "live/StopRequest.h"
#include "platform/sync/Clock.h"

namespace {
// The elapsed time on the progress line moves on even while a step takes long.
constexpr uint32_t kRedrawMs = 500;

struct ScanOptions {
  std::string device;
  std::string output;
  bool json = false;
  ScanSetup setup;
};

nlohmann::ordered_json ScanJson(const std::vector<FoundChannel>& found) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const FoundChannel& f : found) {
    nlohmann::ordered_json channel = ChannelToJson(ChannelRecordOf(f.channel.Get()));
    channel["tunedFrequency"] = f.frequencyKHz;
    channel["signal"] = {{"strength", f.strength}, {"quality", f.quality}};
    list.push_back(std::move(channel));
  }
  return nlohmann::ordered_json{{"channels", list}};
}

// Runs the search until it ends or Ctrl-C; the tuner's worker has ended on return.
std::vector<FoundChannel> Search(IKxTuner* tuner, CScanListener* listener, bool& interrupted) {
  StopRequest stop;
  ProgressOutput progress;
  const uint64_t started = CurrentClock().NowMs();
  if (FAILED(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(listener))))
    throw HostError("the channel search cannot start on this device");
  for (;;) {
    const int woken = Event::WaitAny({&listener->Finished(), &stop.Stopped(), &listener->Changed()}, kRedrawMs);
    const uint64_t elapsed = CurrentClock().NowMs() - started;
    // Off a terminal, a line per step done; on one, the step under way as well.
    for (const ScanState& step : listener->TakeSteps()) progress.Show(ScanProgressLine(step, elapsed));
    if (progress.OnTerminal()) progress.Show(ScanProgressLine(listener->State(), elapsed));
    if (woken == 0 || woken == 1) break;
  }
  tuner->StopAutoTuning();
  interrupted = stop.Interrupted();
  return listener->Found();
}

void RunScan(const HostOptions& host, const HWConfigOptions& hardware, const ScanOptions& options) {
  PluginSession session(host.PluginPath(), hardware);
  const ComPtr<IKxCaptureDevice> device = session.FindDevice(options.device);
  RequireFreeDevice(device.Get());
  ComPtr<IUnknown> object;
  if (FAILED(device->CreateTuner(object.Put())))
    throw HostError(fmt::format("device '{}' cannot search for channels", FriendlyNameOf(device.Get())));
  const ComPtr<IKxTuner> tuner = QueryAs<IKxTuner>(object.Get());
  if (!tuner) throw HostError("the device's tuner lacks its interface");
  ApplyScanSetup(tuner.Get(), options.setup);

  auto listener = ComObject<CScanListener>::Make();
  bool interrupted = false;
  const std::vector<FoundChannel> found = Search(tuner.Get(), listener.Get(), interrupted);
  if (found.empty()) throw HostError(interrupted ? "scan stopped; no channels found" : "no channels found");
  ChannelList channels;
  for (const FoundChannel& f : found) channels.push_back(f.channel);
  const std::string path = options.output.empty() ? host.ChannelsPath() : options.output;
  SaveStoredChannels(path, channels);
  fmt::print(stderr, "{}{} channels saved to {}\n", interrupted ? "scan stopped; " : "", channels.size(), path);
  if (options.json) std::cout << JsonText(ScanJson(found)) << '\n';
}
}  // namespace

void AddScanCommand(CLI::App& app, const HostOptions& options) {
  auto scan = std::make_shared<ScanOptions>();
  auto* command = app.add_subcommand("scan", "Search a device for channels and store them");
  command->add_option("device", scan->device, "Number, name or moniker of the device ('dtv devices')")->required();
  AddScanSetupOptions(command, scan->setup);
  command->add_option("-o,--output", scan->output, "Channel list to write (default: --channels, else the user's list)");
  command->add_flag("--json", scan->json, "Print the channels found as JSON, with frequency and signal");
  const auto hardware = AddHardwareOptions(command);
  command->callback([&options, scan, hardware] { RunScan(options, *hardware, *scan); });
}
