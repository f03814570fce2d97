#pragma once
// One channel streamed to one HTTP client: a leased tuner whose transport
// stream goes through a pipe to the connection's thread, so that a slow
// client slows the tuner's writer down instead of piling up memory.
#include <httplib.h>

#include <memory>

#include "live/StreamReceiver.h"
#include "live/TunedGraph.h"
#include "platform/com/ComObject.h"
#include "serve/GuideStore.h"
#include "serve/TunerPool.h"

class ServedStream {
 public:
  // Tunes `channel` on the leased tuner and collects its multiplex's guide
  // for `guide`; HostError when it cannot be tuned or has no signal.
  ServedStream(std::unique_ptr<TunerLease> lease, IKxChannel* channel, Event& stop, GuideStore& guide);
  // Closes the pipe before the graph is stopped, so that a writer blocked on
  // a full pipe gets its error and lets the graph go; hands the guide over
  // and frees the tuner.
  ~ServedStream();
  ServedStream(const ServedStream&) = delete;
  ServedStream& operator=(const ServedStream&) = delete;

  // Passes the stream on to `sink` until the client goes, the tuner stops
  // delivering or `stopFd` becomes readable. False when the stream is over.
  bool Pump(httplib::DataSink& sink, int stopFd);

 private:
  int m_pipe[2] = {-1, -1};
  std::unique_ptr<TunerLease> m_lease;
  ComPtr<CStreamReceiver> m_receiver;
  std::unique_ptr<TunedGraph> m_graph;
  GuideStore& m_guide;
};
