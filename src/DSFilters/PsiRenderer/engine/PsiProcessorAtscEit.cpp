#include "DSFilters/PsiRenderer/engine/PsiProcessorAtscEit.h"

#include "DSFilters/PsiRenderer/engine/EpgTimeText.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "psi/text/MultipleString.h"

int CPsiProcessorAtscEit::ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  TableAddResult result = m_Eit.AddValidSection(data, length, pid, tableId);
  if (result == TableAddResult::Changed && m_bFollowVersions) {
    m_Eit.Reset();
    result = m_Eit.AddValidSection(data, length, pid, tableId);
  }
  if (result == TableAddResult::Invalid) return 0;
  // A complete table is written once, by the section that completes it.
  if (result != TableAddResult::Taken || !m_Eit.IsComplete()) return 1;
  AutoLock lock(m_pEvents->Lock());
  for (const EitAtscEvent& source : m_Eit.events) {
    CEpgEvent& event = m_pEvents->GetOrCreateEvent(source.event_id, m_Eit.source_id, -1, -1);
    log(5, "CPsiProcessorAtscEit::ProcessSection(): Event event_id: %d, source_id: %d", source.event_id,
        m_Eit.source_id);
    const std::u16string title = MssFirstText(source.title.bytes.data(), source.title.length);
    event.m_llStartTime = GpsToUtcSeconds(source.start_time, m_nGpsUtcOffset);
    event.m_llEndTime = event.m_llStartTime + source.length_in_seconds;
    log(5, "CPsiProcessorAtscEit::ProcessSection() Event start: %s, end: %s, text: %s",
        FormatLocalTime(event.m_llStartTime, "%d.%m.%Y %H:%M").c_str(),
        FormatLocalTime(event.m_llEndTime, "%H:%M").c_str(), Utf16ToUtf8(title).c_str());
    event.m_bstrEventName = title;
  }
  return 1;
}
