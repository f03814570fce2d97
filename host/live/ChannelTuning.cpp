#include "live/ChannelTuning.h"

#include <fmt/format.h>

#include "channels/ChannelProperties.h"
#include "channels/DeliverySystem.h"
#include "dtvhost/HostError.h"

std::unique_ptr<TunedGraph> TuneOnDevice(IKxCaptureDevice* device, IKxChannel* channel,
                                         ITransportStreamSinkCallback* sink, Event& stop,
                                         IKxEpgEventsCallback* background) {
  auto graph = std::make_unique<TunedGraph>(device, channel, sink, background);
  if (graph->WaitForLock(kLockWaitMs, stop)) return graph;
  if (stop.IsSet()) return nullptr;
  throw HostError(fmt::format("no signal on {} at device '{}'", ChannelLabel(channel), graph->DeviceName()));
}

std::unique_ptr<TunedGraph> TuneChannel(const PluginSession& session, IKxChannel* channel,
                                        ITransportStreamSinkCallback* sink, Event& stop) {
  const std::vector<ComPtr<IKxCaptureDevice>> devices = session.DevicesFor(channel);
  if (devices.empty())
    throw HostError(fmt::format("no {} device to receive {}",
                                DeliverySystemName(NetworkTypeOfChannel(LongOf(channel, &IKxChannel::get_Type))),
                                ChannelLabel(channel)));
  for (const ComPtr<IKxCaptureDevice>& device : devices) {
    if (InUseElsewhere(device.Get())) continue;
    return TuneOnDevice(device.Get(), channel, sink, stop);
  }
  RequireFreeDevice(devices.front().Get());
  throw HostError(fmt::format("every device for {} is in use", ChannelLabel(channel)));
}
