#pragma once
// What the observer thread asks of its graph manager.
#include <string>

#include "Channel/KxVideoInfo.h"
#include "GraphManager/CallbackManager.h"
#include "GraphManager/GraphStatus.h"
#include "platform/graph/FilterGraph.h"

class IKxObservedGraph {
 public:
  // The graph lock, only ever tried, so that the observer never blocks the host.
  virtual bool TryLockGraph() = 0;
  virtual void UnlockGraph() = 0;
  // Asked with the graph lock held.
  virtual HRESULT GetSignalStatus(bool* locked, LONG* quality, LONG* strength) = 0;
  virtual HRESULT GetScrambled(bool* scrambled) = 0;
  virtual HRESULT GetMacrovisionLevel(LONG* level) = 0;
  virtual HRESULT GetVideoFormat(KxVideoFormat* format) = 0;
  // The oldest graph event, without waiting; false when there is none.
  virtual bool TakeGraphEvent(GraphEvent* event) = 0;
  virtual CGraphStatus& Status() = 0;
  virtual CCallbackManager& Callbacks() = 0;

 protected:
  ~IKxObservedGraph() = default;
};
