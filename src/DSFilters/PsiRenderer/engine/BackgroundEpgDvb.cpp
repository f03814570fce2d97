#include "DSFilters/PsiRenderer/engine/BackgroundEpgDvb.h"

#include "DSFilters/PsiRenderer/engine/EpgDvb.h"
#include "logging/LogFile.h"
#include "psi/PsiIds.h"

CBackgroundEpgDvb::CBackgroundEpgDvb(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
    : CBackgroundEpgBase(splitter, networkType), m_Eit(m_pEvents, networkType) {
  m_Eit.SetFollowVersions(true);
}

void CBackgroundEpgDvb::ThreadProc() {
  const std::vector<uint8_t> tableIds = ActualEitTableIds();
  m_pEvents->Clear();
  m_Eit.SetTableIds(tableIds);
  for (uint8_t id : tableIds) m_Sections.AddFilter(psi::kEitPid, id);
  log(4, "Start background EPG scanning (DVB)");
  for (;;) {
    if (StopRequested()) break;
    for (const PsiSectionRecord& s : m_Sections.TakeSections()) {
      if (StopRequested()) break;
      if (!psi::IsActualEit(s.tableId)) continue;
      m_Eit.ProcessSection(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
    }
    Deliver("CBackgroundEpgDvb::ThreadProc() OnEpgEvents called");
    if (WaitSection(kPollMs)) break;
  }
  m_Sections.ClearFilters();
  log(4, "Stop background EPG scanning (DVB)");
}
