#pragma once
// The programme guide of one multiplex, as `dtv epg` and `dtv serve` collect it.
#include "live/LiveGuide.h"
#include "live/PluginSession.h"
#include "platform/sync/Event.h"

// Tunes `channel` on `device` and adds its multiplex's events to `guide`
// until the guide is complete, `seconds` have passed or `stop` is set.
// HostError when the device cannot tune or collect.
void CollectGuide(IKxCaptureDevice* device, IKxChannel* channel, double seconds, Event& stop, LiveGuide& guide);

// The guide the graph gathers on its own while it receives `channel`: for
// `seconds`, or until `stop` is set.
void CollectGuideInBackground(IKxCaptureDevice* device, IKxChannel* channel, double seconds, Event& stop,
                              LiveGuide& guide);
