#include "live/BackgroundGuide.h"

HRESULT CBackgroundGuide::OnEpgEvents(BSTR, IKxEpgEvents* events) {
  if (!events) return S_OK;
  std::lock_guard lock(m_mutex);
  m_guide.AddEvents(events);
  return S_OK;
}
