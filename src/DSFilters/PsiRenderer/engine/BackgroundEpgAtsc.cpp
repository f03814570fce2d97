#include "DSFilters/PsiRenderer/engine/BackgroundEpgAtsc.h"

#include "DSFilters/PsiRenderer/engine/AtscMgtReader.h"
#include "logging/LogFile.h"

void CBackgroundEpgAtsc::ThreadProc() {
  m_Mgt.Reset();
  m_Tables.Clear();
  int gpsUtcOffset = kDefaultGpsUtcOffset;
  const AtscMgtWaits waits{[this] { return StopRequested(); }, [this](uint32_t ms) { return WaitSection(ms); }};
  if (!ReadAtscMgt(m_Sections, m_Mgt, gpsUtcOffset, waits)) return;
  m_Tables.SetGpsUtcOffset(gpsUtcOffset);
  m_pEvents->Clear();
  AddAtscEpgFilters(m_Sections, m_Mgt);
  log(5, "Start background EPG scanning (ATSC)");
  for (;;) {
    if (StopRequested()) break;
    for (const PsiSectionRecord& s : m_Sections.TakeSections()) {
      if (StopRequested()) break;
      m_Tables.ProcessSection(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
    }
    Deliver("CBackgroundEpgAtsc::ThreadProc() OnEpgEvents called");
    if (WaitSection(kPollMs)) break;
  }
  m_Sections.ClearFilters();
  log(5, "Stop background EPG scanning (ATSC)");
}
