#include "platform/graph/BaseFilter.h"

HRESULT CBaseFilter::Stop() {
  AutoLock lock(m_lock);
  m_state = State_Stopped;
  return S_OK;
}

HRESULT CBaseFilter::Pause() {
  AutoLock lock(m_lock);
  m_state = State_Paused;
  return S_OK;
}

HRESULT CBaseFilter::Run(int64_t) {
  AutoLock lock(m_lock);
  m_state = State_Running;
  return S_OK;
}

HRESULT CBaseFilter::GetState(uint32_t, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  AutoLock lock(m_lock);
  *state = m_state;
  return S_OK;
}

HRESULT CBaseFilter::EnumPins(std::vector<ComPtr<IPin>>* pins) {
  if (!pins) return E_POINTER;
  pins->clear();
  for (int i = 0; i < GetPinCount(); ++i) pins->emplace_back(GetPin(i));
  return S_OK;
}

HRESULT CBaseFilter::FindPin(const char16_t* id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  *pin = nullptr;
  for (int i = 0; i < GetPinCount(); ++i) {
    CBasePin* candidate = GetPin(i);
    if (candidate->Name() == id) {
      *pin = candidate;
      candidate->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

HRESULT CBaseFilter::QueryFilterName(std::u16string* name) {
  if (!name) return E_POINTER;
  AutoLock lock(m_lock);
  *name = m_name;
  return S_OK;
}

HRESULT CBaseFilter::JoinFilterGraph(IFilterGraph* graph, const char16_t* name) {
  AutoLock lock(m_lock);
  m_pGraph = graph;
  if (graph && name) m_name = name;
  return S_OK;
}

HRESULT CBaseFilter::NotifyEvent(LONG code, intptr_t param1, intptr_t param2) {
  ComPtr<IMediaEventSink> sink = QueryAs<IMediaEventSink>(Graph());
  return sink ? sink->Notify(code, param1, param2) : E_NOTIMPL;
}
