#include "live/GuideCollection.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <unistd.h>

#include <functional>

#include "dtvhost/HostError.h"
#include "live/BackgroundGuide.h"
#include "live/ChannelTuning.h"
#include "live/StreamReceiver.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kPollMs = 250;

bool TimeIsUp(uint64_t started, double seconds) {
  return static_cast<double>(CurrentClock().NowMs() - started) >= seconds * 1000;
}

// Runs `collect` with a transport stream sink that discards what it receives.
void WithDiscardingSink(const std::function<void(ITransportStreamSinkCallback*)>& collect) {
  const int discard = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  auto sink = ComObject<CStreamReceiver>::Make(discard, "/dev/null", std::nullopt);
  try {
    collect(static_cast<ITransportStreamSinkCallback*>(sink.Get()));
  } catch (...) {
    ::close(discard);
    throw;
  }
  ::close(discard);
}
}  // namespace

void CollectGuide(IKxCaptureDevice* device, IKxChannel* channel, double seconds, Event& stop, LiveGuide& guide) {
  WithDiscardingSink([&](ITransportStreamSinkCallback* sink) {
    const auto graph = TuneOnDevice(device, channel, sink, stop);
    IKxEpgManager* epg = graph ? graph->Epg() : nullptr;
    if (graph && (!epg || FAILED(epg->StartEpgScan())))
      throw HostError(fmt::format("device '{}' cannot collect the programme guide", graph->DeviceName()));
    const uint64_t started = CurrentClock().NowMs();
    while (epg && !stop.Wait(kPollMs)) {
      VARIANT_BOOL completed = VARIANT_FALSE;
      if (SUCCEEDED(epg->get_IsEpgScanCompleted(&completed)) && completed != VARIANT_FALSE) break;
      if (TimeIsUp(started, seconds)) break;
    }
    if (epg) {
      ComPtr<IKxEpgEvents> events;
      if (SUCCEEDED(epg->get_EpgEvents(events.Put()))) guide.AddEvents(events.Get());
      epg->StopEpgScan();
    }
  });
}

void CollectGuideInBackground(IKxCaptureDevice* device, IKxChannel* channel, double seconds, Event& stop,
                              LiveGuide& guide) {
  WithDiscardingSink([&](ITransportStreamSinkCallback* sink) {
    auto collector = ComObject<CBackgroundGuide>::Make(guide);
    const auto graph =
        TuneOnDevice(device, channel, sink, stop, static_cast<IKxEpgEventsCallback*>(collector.Get()));
    const uint64_t started = CurrentClock().NowMs();
    while (graph && !stop.Wait(kPollMs) && !TimeIsUp(started, seconds)) continue;
  });
}
