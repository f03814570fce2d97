#include "platform/graph/FilterGraph.h"

#include <algorithm>
#include <string>

#include "platform/com/Utf.h"

CFilterGraph::~CFilterGraph() {
  Stop();
  // Connected pins hold references on each other's filters: break every
  // connection so that the filters can go.
  for (Entry& e : m_filters) {
    std::vector<ComPtr<IPin>> pins;
    e.filter->EnumPins(&pins);
    for (const ComPtr<IPin>& pin : pins) Disconnect(pin.Get());
    e.filter->JoinFilterGraph(nullptr, nullptr);
  }
}

HRESULT CFilterGraph::AddFilter(IBaseFilter* filter, const char16_t* name) {
  if (!filter) return E_POINTER;
  AutoLock lock(m_lock);
  // Names are unique in a graph: a taken name gets a number appended.
  const std::u16string base = name ? name : u"";
  std::u16string unique = base;
  auto taken = [&](const std::u16string& n) {
    return std::any_of(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.name == n; });
  };
  for (int n = 2; taken(unique); ++n) unique = base + u" " + Utf8ToUtf16(std::to_string(n));
  const HRESULT hr = filter->JoinFilterGraph(this, unique.c_str());
  if (FAILED(hr)) return hr;
  m_filters.push_back({ComPtr<IBaseFilter>(filter), unique});
  return S_OK;
}

HRESULT CFilterGraph::RemoveFilter(IBaseFilter* filter) {
  if (!filter) return E_POINTER;
  AutoLock lock(m_lock);
  const auto it = std::find_if(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.filter.Get() == filter; });
  if (it == m_filters.end()) return VFW_E_NOT_FOUND;
  filter->Stop();
  std::vector<ComPtr<IPin>> pins;
  filter->EnumPins(&pins);
  for (const ComPtr<IPin>& pin : pins) Disconnect(pin.Get());
  filter->JoinFilterGraph(nullptr, nullptr);
  m_filters.erase(it);
  return S_OK;
}

HRESULT CFilterGraph::EnumFilters(std::vector<ComPtr<IBaseFilter>>* filters) {
  if (!filters) return E_POINTER;
  AutoLock lock(m_lock);
  filters->clear();
  for (const Entry& e : m_filters) filters->push_back(e.filter);
  return S_OK;
}

HRESULT CFilterGraph::FindFilterByName(const char16_t* name, IBaseFilter** filter) {
  if (!name || !filter) return E_POINTER;
  AutoLock lock(m_lock);
  *filter = nullptr;
  for (const Entry& e : m_filters)
    if (e.name == name) return e.filter.CopyTo(filter);
  return VFW_E_NOT_FOUND;
}

HRESULT CFilterGraph::ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) {
  if (!output || !input) return E_POINTER;
  AutoLock lock(m_lock);
  if (m_state != State_Stopped) return VFW_E_WRONG_STATE;
  return output->Connect(input, type);
}

HRESULT CFilterGraph::Disconnect(IPin* pin) {
  if (!pin) return E_POINTER;
  ComPtr<IPin> other;
  if (SUCCEEDED(pin->ConnectedTo(other.Put())) && other) other->Disconnect();
  return pin->Disconnect();
}

HRESULT CFilterGraph::Notify(LONG code, intptr_t param1, intptr_t param2) {
  {
    std::lock_guard lock(m_eventMutex);
    m_events.push_back({code, param1, param2});
  }
  m_eventReady.Set();
  return S_OK;
}

bool CFilterGraph::GetEvent(GraphEvent* event, uint32_t timeoutMs) {
  if (!event || !m_eventReady.Wait(timeoutMs)) return false;
  std::lock_guard lock(m_eventMutex);
  if (m_events.empty()) return false;
  *event = m_events.front();
  m_events.pop_front();
  if (m_events.empty()) m_eventReady.ResetEvent();
  return true;
}

HRESULT CFilterGraph::ChangeState(FILTER_STATE target) {
  AutoLock lock(m_lock);
  HRESULT result = S_OK;
  for (auto it = m_filters.rbegin(); it != m_filters.rend(); ++it) {
    const HRESULT hr = target == State_Running  ? it->filter->Run(0)
                       : target == State_Paused ? it->filter->Pause()
                                                : it->filter->Stop();
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  if (SUCCEEDED(result) || target == State_Stopped) m_state = target;
  return result;
}

HRESULT CFilterGraph::Run() { return ChangeState(State_Running); }
HRESULT CFilterGraph::Pause() { return ChangeState(State_Paused); }
HRESULT CFilterGraph::Stop() { return ChangeState(State_Stopped); }

HRESULT CFilterGraph::SetSyncSource(IReferenceClock* clock) {
  AutoLock lock(m_lock);
  m_pClock = clock;
  return S_OK;
}

HRESULT CFilterGraph::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  AutoLock lock(m_lock);
  *clock = nullptr;
  if (!m_pClock) return S_FALSE;
  return m_pClock.CopyTo(clock);
}

HRESULT CFilterGraph::GetState(uint32_t timeoutMs, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  std::vector<ComPtr<IBaseFilter>> filters;
  {
    AutoLock lock(m_lock);
    *state = m_state;
    for (const Entry& e : m_filters) filters.push_back(e.filter);
  }
  // The time-out covers the whole query, not each filter.
  Clock& clock = CurrentClock();
  const uint64_t deadline = clock.NowMs() + (timeoutMs == INFINITE ? 0 : timeoutMs);
  bool intermediate = false, cantCue = false;
  for (const ComPtr<IBaseFilter>& filter : filters) {
    const uint64_t now = clock.NowMs();
    const uint32_t remaining = timeoutMs == INFINITE ? INFINITE
                               : now >= deadline    ? 0
                                                    : static_cast<uint32_t>(deadline - now);
    FILTER_STATE filterState = State_Stopped;
    const HRESULT hr = filter->GetState(remaining, &filterState);
    if (FAILED(hr)) return hr;
    intermediate = intermediate || hr == VFW_S_STATE_INTERMEDIATE;
    cantCue = cantCue || hr == VFW_S_CANT_CUE;
  }
  if (cantCue) return VFW_S_CANT_CUE;
  return intermediate ? VFW_S_STATE_INTERMEDIATE : S_OK;
}

FILTER_STATE CFilterGraph::State() {
  AutoLock lock(m_lock);
  return m_state;
}
