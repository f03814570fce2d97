#include "DSFilters/PsiRenderer/engine/PsiProcessorAtscEtt.h"

#include "logging/LogFile.h"
#include "psi/text/MultipleString.h"

int CPsiProcessorAtscEtt::ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  TableAddResult result = m_Ett.AddValidSection(data, length, pid, tableId);
  if (result == TableAddResult::Changed && m_bFollowVersions) {
    m_Ett.Reset();
    result = m_Ett.AddValidSection(data, length, pid, tableId);
  }
  if (result == TableAddResult::Invalid) return 0;
  if (result != TableAddResult::Taken || !m_Ett.IsComplete()) return 1;
  const int32_t eventId = static_cast<int32_t>((m_Ett.etm_id >> 2) & 0x3FFF);
  const int32_t sourceId = static_cast<int32_t>(m_Ett.etm_id >> 16);
  AutoLock lock(m_pEvents->Lock());
  CEpgEvent& event = m_pEvents->GetOrCreateEvent(eventId, sourceId, -1, -1);
  log(5, "CPsiProcessorAtscEtt::ProcessSection(): Event event_id: %d, source_id: %d", eventId, sourceId);
  event.m_bstrText = MssFirstText(m_Ett.text.bytes.data(), m_Ett.text.length);
  return 1;
}
