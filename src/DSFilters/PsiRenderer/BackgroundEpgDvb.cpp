#include "DSFilters/PsiRenderer/BackgroundEpgDvb.h"

#include "DSFilters/PsiRenderer/EpgDvb.h"
#include "logging/LogFile.h"

void CBackgroundEpgDvb::ThreadProc() {
  const std::vector<uint8_t> tableIds = ActualEitTableIds();
  m_Splitter.ClearFilters();
  m_pEvents->Clear();
  for (uint8_t id : tableIds) m_Splitter.AddFilter(0x0012, id);
  log(4, "Start background EPG scanning (DVB)");
  for (;;) {
    if (StopRequested()) break;
    for (const PsiSectionRecord& s : m_Splitter.TakeSections()) {
      if (StopRequested()) break;
      if (s.tableId != 0x4E && (s.tableId < 0x50 || s.tableId > 0x5F)) continue;
      CPsiProcessorEit eit(m_pEvents, m_NetworkType);
      eit.SetTableIds(tableIds);
      eit.ProcessSection(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
    }
    Deliver("CBackgroundEpgDvb::ThreadProc() OnEpgEvents called");
    if (WaitStop(kPollMs)) break;
  }
  log(4, "Stop background EPG scanning (DVB)");
}
