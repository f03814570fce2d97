#include "ReceptionCommands.h"

#include <fmt/format.h>
#include <unistd.h>

#include <memory>
#include <optional>

#include "HardwareOptions.h"
#include "OutputText.h"
#include "StoredChannels.h"
#include "analyze/OutputFile.h"
#include "channels/ChannelLookup.h"
#include "dtvhost/HostError.h"
#include "live/ChannelTuning.h"
#include "live/ProgressOutput.h"
#include "live/ReceptionStatus.h"
#include "live/StopRequest.h"
#include "live/StreamReceiver.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kStatusMs = 1000;

struct ReceptionOptions {
  std::string channel;
  std::string output;
  std::optional<double> seconds;
};

ComPtr<IKxChannel> StoredChannel(const HostOptions& host, const std::string& text) {
  const std::string path = host.ChannelsPath();
  ChannelList channels = LoadStoredChannels(path);
  std::string error;
  const std::optional<size_t> index = FindChannel(channels, text, path, error);
  if (!index) throw HostError(error);
  return channels[*index];
}

// Receives until the duration, Ctrl-C or a failed write; the graph is gone on
// return. Returns the bytes written.
uint64_t Receive(const HostOptions& host, const HWConfigOptions& hardware, IKxChannel* channel,
                 const ReceptionOptions& options, StopRequest& stop, int fd, const std::string& name) {
  PluginSession session(host.PluginPath(), hardware);
  auto receiver = ComObject<CStreamReceiver>::Make(fd, name, options.seconds);
  std::unique_ptr<TunedGraph> graph =
      TuneChannel(session, channel, static_cast<ITransportStreamSinkCallback*>(receiver.Get()), stop.Stopped());
  ProgressOutput progress;
  const uint64_t started = CurrentClock().NowMs();
  uint64_t lastMs = started, lastBytes = 0;
  double bitrate = 0;
  bool shown = false;
  while (graph) {
    const int woken = Event::WaitAny({&receiver->Done(), &stop.Stopped()}, kStatusMs);
    const uint64_t now = CurrentClock().NowMs(), bytes = receiver->BytesWritten();
    if (now > lastMs) bitrate = static_cast<double>(bytes - lastBytes) * 8000.0 / static_cast<double>(now - lastMs);
    lastMs = now;
    lastBytes = bytes;
    // Off a terminal, the first reading only; the summary follows at the end.
    if (progress.OnTerminal() || !shown) progress.Show(ReceptionLine(graph->Signal(), bitrate, now - started, bytes));
    shown = true;
    if (woken >= 0) break;
    // A stream without PCRs is timed by the wall clock.
    if (options.seconds && !receiver->HasStreamTime() && static_cast<double>(now - started) >= *options.seconds * 1000)
      break;
  }
  graph.reset();
  if (!receiver->Error().empty()) throw HostError(receiver->Error());
  const uint64_t bytes = receiver->BytesWritten();
  // A tuner may report a lock it does not have; no packet at all is no signal.
  if (bytes == 0 && !stop.Interrupted())
    throw HostError(fmt::format("no signal on {}: no transport stream received", ChannelLabel(channel)));
  fmt::print(stderr, "{}: {} packets ({} bytes, {:.1f} s of stream){}\n", name, bytes / PacketWriter::kPacketSize,
             bytes, receiver->StreamSeconds(), stop.Interrupted() ? ", stopped" : "");
  return bytes;
}

void AddReceptionOptions(CLI::App* command, ReceptionOptions& options) {
  command->add_option("channel", options.channel, "Number or name of a stored channel ('dtv channels')")->required();
  command->add_option("--duration", options.seconds, "Seconds of programme to receive (default: until Ctrl-C)")
      ->check(CLI::PositiveNumber);
}
}  // namespace

void AddWatchCommand(CLI::App& app, const HostOptions& options) {
  auto watch = std::make_shared<ReceptionOptions>();
  auto* command = app.add_subcommand("watch", "Write a channel's transport stream to standard output (dtv watch 1 | mpv -)");
  AddReceptionOptions(command, *watch);
  const auto hardware = AddHardwareOptions(command);
  command->callback([&options, watch, hardware] {
    if (::isatty(STDOUT_FILENO)) throw HostError("standard output is a terminal; pipe it to a player: dtv watch CHANNEL | mpv -");
    const ComPtr<IKxChannel> channel = StoredChannel(options, watch->channel);
    StopRequest stop;
    Receive(options, *hardware, channel.Get(), *watch, stop, STDOUT_FILENO, "standard output");
  });
}

void AddRecordCommand(CLI::App& app, const HostOptions& options) {
  auto record = std::make_shared<ReceptionOptions>();
  auto* command = app.add_subcommand("record", "Record a channel's transport stream into a file");
  AddReceptionOptions(command, *record);
  command->add_option("-o,--output", record->output, "The recording (.ts)")->required();
  const auto hardware = AddHardwareOptions(command);
  command->callback([&options, record, hardware] {
    if (SameFile(record->output, options.ChannelsPath()))
      throw HostError(fmt::format("cannot write {}: it is the channel list", record->output));
    const ComPtr<IKxChannel> channel = StoredChannel(options, record->channel);
    // Ctrl-C from here on keeps what was recorded and never leaves the temporary file.
    StopRequest stop;
    // A failed tune leaves an existing recording as it was.
    COutputFile file;
    std::string error;
    if (!file.Open(record->output, error)) throw HostError(error);
    const uint64_t bytes = Receive(options, *hardware, channel.Get(), *record, stop, file.Descriptor(), record->output);
    if (bytes > 0 && !file.Commit(error)) throw HostError(error);
  });
}
