#include "live/TunedGraph.h"

#include <fmt/format.h>

#include "channels/ChannelProperties.h"
#include "dtvhost/HostError.h"
#include "interfaces/IKxGraphManagerFacets.h"
#include "live/PluginSession.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kLockPollMs = 100;

VARIANT UnknownVariant(IUnknown* object) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = object;
  return v;
}
}  // namespace

std::string ChannelLabel(IKxChannel* channel) {
  return fmt::format("'{}' ({} kHz)", TextOf(channel, &IKxChannel::get_Title),
                     LongOf(channel, &IKxChannel::get_CarrierFrequency));
}

TunedGraph::TunedGraph(IKxCaptureDevice* device, IKxChannel* channel, ITransportStreamSinkCallback* sink,
                       IKxEpgEventsCallback* background)
    : m_deviceName(FriendlyNameOf(device)) {
  ComPtr<IUnknown> object;
  if (FAILED(device->CreateGraphManager(object.Put())) || !(m_manager = QueryAs<IKxGraphManager>(object.Get())))
    throw HostError(fmt::format("device '{}' cannot receive", m_deviceName));
  const auto setup = QueryAs<IKxGraphManagerSetup>(object.Get());
  if (!setup || FAILED(setup->put_OutputTarget(KxOutputTarget_TransportStreamCallback, UnknownVariant(sink))))
    throw HostError(fmt::format("device '{}' cannot deliver a transport stream", m_deviceName));
  if (FAILED(m_manager->BuildGraph(KxGraphType_Capture))) {
    RequireFreeDevice(device);
    throw HostError(fmt::format("device '{}' cannot build its graph", m_deviceName));
  }
  m_epg = QueryAs<IKxEpgManager>(object.Get());
  m_callbacks = QueryAs<IKxCallbackControl>(object.Get());
  if (background && (!m_callbacks || !m_epg ||
                     FAILED(m_callbacks->RegisterCallback(KxCallbackType_EpgEvents, background, &m_backgroundCookie)) ||
                     FAILED(m_epg->put_BackgroundEpg(VARIANT_TRUE))))
    throw HostError(fmt::format("device '{}' cannot collect the programme guide while receiving", m_deviceName));
  const auto control = QueryAs<IKxGraphManagerChannelControl>(object.Get());
  if (FAILED(m_manager->StartGraph()) || !control || FAILED(control->put_Channel(channel)))
    throw HostError(fmt::format("device '{}' cannot tune {}", m_deviceName, ChannelLabel(channel)));
}

TunedGraph::~TunedGraph() {
  if (!m_manager) return;
  m_manager->StopGraph();
  m_manager->DeleteGraph();
  // The graph's workers are gone: no guide arrives any more.
  if (m_backgroundCookie != 0) m_callbacks->UnregisterCallback(m_backgroundCookie);
}

SignalStatus TunedGraph::Signal() const {
  SignalStatus status;
  const auto control = QueryAs<IKxGraphManagerSignalControl>(m_manager.Get());
  VARIANT_BOOL locked = VARIANT_FALSE;
  LONG quality = 0, strength = 0;
  if (control && SUCCEEDED(control->get_SignalStatus(&locked, &quality, &strength)))
    status = {locked != VARIANT_FALSE, quality, strength};
  return status;
}

bool TunedGraph::WaitForLock(uint32_t ms, Event& stop) const {
  const uint64_t started = CurrentClock().NowMs();
  for (;;) {
    if (Signal().locked) return true;
    if (CurrentClock().NowMs() - started >= ms || stop.Wait(kLockPollMs)) return false;
  }
}
