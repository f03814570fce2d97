#pragma once
// Filter base class: state, name, graph membership and pin lookup.
#include <atomic>
#include <string>

#include "platform/graph/BasePin.h"

class CBaseFilter : public IBaseFilter {
 public:
  CBaseFilter(std::u16string name, const CLSID& clsid) : m_name(std::move(name)), m_clsid(clsid) {}

  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(int64_t start) override;
  HRESULT GetState(uint32_t timeoutMs, FILTER_STATE* state) override;
  HRESULT EnumPins(std::vector<ComPtr<IPin>>* pins) override;
  HRESULT FindPin(const char16_t* id, IPin** pin) override;
  HRESULT QueryFilterName(std::u16string* name) override;
  HRESULT JoinFilterGraph(IFilterGraph* graph, const char16_t* name) override;

  virtual int GetPinCount() = 0;
  virtual CBasePin* GetPin(int index) = 0;

  FILTER_STATE State() const { return m_state; }
  const CLSID& ClassId() const { return m_clsid; }
  // The graph the filter joined (not owned: the graph owns its filters).
  IFilterGraph* Graph() const { return m_pGraph; }
  // Raises a graph event, when the graph takes events.
  HRESULT NotifyEvent(LONG code, intptr_t param1, intptr_t param2);

 protected:
  RecursiveLock m_lock;
  // Read without the lock by streaming threads checking whether to take a sample.
  std::atomic<FILTER_STATE> m_state{State_Stopped};

 private:
  std::u16string m_name;
  const CLSID m_clsid;
  IFilterGraph* m_pGraph = nullptr;
};
