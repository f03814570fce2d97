#pragma once
// Tuning a stored channel on a device that can receive it.
#include <memory>

#include "live/PluginSession.h"
#include "live/TunedGraph.h"

// A frontend that has a signal locks well within this.
inline constexpr uint32_t kLockWaitMs = 3000;

// The channel on `device`, locked; HostError "no signal ..." without a lock.
// Null when `stop` was set while waiting. `background` as for TunedGraph.
std::unique_ptr<TunedGraph> TuneOnDevice(IKxCaptureDevice* device, IKxChannel* channel,
                                         ITransportStreamSinkCallback* sink, Event& stop,
                                         IKxEpgEventsCallback* background = nullptr);

// The channel on the first device of its delivery system that no other
// process holds, locked; HostError saying why none is (no device, all in
// use, no signal). Null when `stop` was set while waiting.
std::unique_ptr<TunedGraph> TuneChannel(const PluginSession& session, IKxChannel* channel,
                                        ITransportStreamSinkCallback* sink, Event& stop);
