#include "platform/graph/FilterGraph.h"

#include <algorithm>
#include <string>

#include "platform/com/Utf.h"

CFilterGraph::~CFilterGraph() {
  Stop();
  for (Entry& e : m_filters) e.filter->JoinFilterGraph(nullptr, nullptr);
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

FILTER_STATE CFilterGraph::State() {
  AutoLock lock(m_lock);
  return m_state;
}
