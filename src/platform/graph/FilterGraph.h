#pragma once
// The filter graph: owns its filters, connects their pins, moves them all
// between stopped, paused and running, and queues the events they raise.
#include <deque>
#include <string>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/graph/GraphInterfaces.h"
#include "platform/sync/Event.h"
#include "platform/sync/RecursiveLock.h"

struct GraphEvent {
  LONG code;
  intptr_t param1;
  intptr_t param2;
};

class CFilterGraph : public IFilterGraph, public IMediaEventSink, public IMediaFilter, public IMediaControl {
 public:
  using InterfaceMap = ::InterfaceMap<IFilterGraph, IMediaEventSink, IMediaFilter, IMediaControl>;
  CFilterGraph() = default;

  HRESULT AddFilter(IBaseFilter* filter, const char16_t* name) override;
  HRESULT RemoveFilter(IBaseFilter* filter) override;
  HRESULT EnumFilters(std::vector<ComPtr<IBaseFilter>>* filters) override;
  HRESULT FindFilterByName(const char16_t* name, IBaseFilter** filter) override;
  HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) override;
  HRESULT Disconnect(IPin* pin) override;
  HRESULT Notify(LONG code, intptr_t param1, intptr_t param2) override;

  HRESULT SetSyncSource(IReferenceClock* clock) override;
  HRESULT GetSyncSource(IReferenceClock** clock) override;

  HRESULT Run() override;
  HRESULT Pause() override;
  HRESULT Stop() override;
  HRESULT GetState(uint32_t timeoutMs, FILTER_STATE* state) override;
  FILTER_STATE State();
  // Takes the oldest queued event; false when none came within `timeoutMs`.
  bool GetEvent(GraphEvent* event, uint32_t timeoutMs);

  virtual ~CFilterGraph();

 private:
  struct Entry {
    ComPtr<IBaseFilter> filter;
    std::u16string name;
  };
  // Applies `change` to every filter, downstream filters (added last) first.
  HRESULT ChangeState(FILTER_STATE target);

  RecursiveLock m_lock;
  std::vector<Entry> m_filters;
  FILTER_STATE m_state = State_Stopped;
  ComPtr<IReferenceClock> m_pClock;
  std::mutex m_eventMutex;
  std::deque<GraphEvent> m_events;
  Event m_eventReady{Event::Reset::Manual};
};
