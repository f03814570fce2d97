#include "DSFilters/PsiRenderer/BackgroundEpgAtsc.h"

#include "DSFilters/PsiRenderer/AtscMgtReader.h"
#include "DSFilters/PsiRenderer/PsiProcessorAtscEit.h"
#include "DSFilters/PsiRenderer/PsiProcessorAtscEtt.h"
#include "logging/LogFile.h"

void CBackgroundEpgAtsc::ThreadProc() {
  m_Mgt.Reset();
  const AtscMgtWaits waits{[this] { return StopRequested(); }, [this](uint32_t ms) { return WaitStop(ms); }};
  if (!ReadAtscMgt(m_Splitter, m_Mgt, m_nGpsUtcOffset, waits)) return;
  m_pEvents->Clear();
  AddAtscEpgFilters(m_Splitter, m_Mgt);
  log(5, "Start background EPG scanning (ATSC)");
  for (;;) {
    if (StopRequested()) break;
    for (const PsiSectionRecord& s : m_Splitter.TakeSections()) {
      if (StopRequested()) break;
      const uint32_t length = static_cast<uint32_t>(s.data.size());
      if (s.tableId == 0xCB) {
        CPsiProcessorAtscEit eit(m_pEvents, m_NetworkType);
        eit.SetGpsUtcOffset(m_nGpsUtcOffset);
        eit.ProcessSection(s.data.data(), length, s.pid, s.tableId);
      } else if (s.tableId == 0xCC) {
        CPsiProcessorAtscEtt ett(m_pEvents, m_NetworkType);
        ett.ProcessSection(s.data.data(), length, s.pid, s.tableId);
      }
    }
    Deliver("CBackgroundEpgAtsc::ThreadProc() OnEpgEvents called");
    if (WaitStop(kPollMs)) break;
  }
  log(5, "Stop background EPG scanning (ATSC)");
}
