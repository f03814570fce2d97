#pragma once
// A device tuned to a channel: its graph manager with a capture graph whose
// transport stream goes to the host's sink callback, running.
#include <string>

#include "interfaces/IKxCallbackControl.h"
#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/IKxChannel.h"
#include "interfaces/IKxGraphManager.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "interfaces/IKxTransportStreamSink.h"
#include "platform/com/ComPtr.h"
#include "platform/sync/Event.h"

struct SignalStatus {
  bool locked = false;
  long quality = 0;
  long strength = 0;
};

class TunedGraph {
 public:
  // HostError when the graph cannot be built or the channel not tuned. With
  // `background`, the graph collects the programme guide while it receives
  // and hands it there.
  TunedGraph(IKxCaptureDevice* device, IKxChannel* channel, ITransportStreamSinkCallback* sink,
             IKxEpgEventsCallback* background = nullptr);
  // Stops and deletes the graph: the sink gets nothing more, the device is free.
  ~TunedGraph();
  TunedGraph(const TunedGraph&) = delete;
  TunedGraph& operator=(const TunedGraph&) = delete;

  SignalStatus Signal() const;
  // Waits up to `ms` for a lock; false without one, or when `stop` was set.
  bool WaitForLock(uint32_t ms, Event& stop) const;
  IKxEpgManager* Epg() const { return m_epg.Get(); }
  IKxCallbackControl* Callbacks() const { return m_callbacks.Get(); }
  const std::string& DeviceName() const { return m_deviceName; }

 private:
  std::string m_deviceName;
  ComPtr<IKxGraphManager> m_manager;
  ComPtr<IKxEpgManager> m_epg;
  ComPtr<IKxCallbackControl> m_callbacks;
  LONG m_backgroundCookie = 0;
};

// "no signal on 'NAME' (474000 kHz)" and the like name the channel so.
std::string ChannelLabel(IKxChannel* channel);
