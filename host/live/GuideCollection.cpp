#include "live/GuideCollection.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <unistd.h>

#include "dtvhost/HostError.h"
#include "live/ChannelTuning.h"
#include "live/StreamReceiver.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kPollMs = 250;
}  // namespace

void CollectGuide(IKxCaptureDevice* device, IKxChannel* channel, double seconds, Event& stop, LiveGuide& guide) {
  const int discard = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  auto sink = ComObject<CStreamReceiver>::Make(discard, "/dev/null", std::nullopt);
  try {
    const auto graph = TuneOnDevice(device, channel, static_cast<ITransportStreamSinkCallback*>(sink.Get()), stop);
    IKxEpgManager* epg = graph ? graph->Epg() : nullptr;
    if (graph && (!epg || FAILED(epg->StartEpgScan())))
      throw HostError(fmt::format("device '{}' cannot collect the programme guide", graph->DeviceName()));
    const uint64_t started = CurrentClock().NowMs();
    while (epg && !stop.Wait(kPollMs)) {
      VARIANT_BOOL completed = VARIANT_FALSE;
      if (SUCCEEDED(epg->get_IsEpgScanCompleted(&completed)) && completed != VARIANT_FALSE) break;
      if (static_cast<double>(CurrentClock().NowMs() - started) >= seconds * 1000) break;
    }
    if (epg) {
      ComPtr<IKxEpgEvents> events;
      if (SUCCEEDED(epg->get_EpgEvents(events.Put()))) guide.AddEvents(events.Get());
      epg->StopEpgScan();
    }
  } catch (...) {
    ::close(discard);
    throw;
  }
  ::close(discard);
}
