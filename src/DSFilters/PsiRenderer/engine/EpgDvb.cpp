#include "DSFilters/PsiRenderer/engine/EpgDvb.h"

#include "logging/LogFile.h"
#include "psi/PsiIds.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kQuietWindowMs = 30000;
constexpr uint32_t kPollMs = 2000;
}  // namespace

std::vector<uint8_t> ActualEitTableIds() {
  std::vector<uint8_t> ids;
  for (unsigned id = 0; id < 0x100; ++id)
    if (psi::IsActualEit(static_cast<uint8_t>(id))) ids.push_back(static_cast<uint8_t>(id));
  return ids;
}

CEpgDvb::CEpgDvb(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
    : CEpgBase(splitter, networkType), m_Eit(m_pEvents, networkType) {}

void CEpgDvb::Reset() {
  CEpgBase::Reset();
  m_Eit.Reset();
}

void CEpgDvb::ThreadProc() {
  const std::vector<uint8_t> tableIds = ActualEitTableIds();
  m_Sections.ClearFilters();
  for (uint8_t id : tableIds) m_Sections.AddFilter(psi::kEitPid, id);
  m_Eit.SetTableIds(tableIds);
  log(5, "Start EPG scanning (DVB)");
  uint32_t t0 = GetTickCount();
  size_t lastCount = 0;
  do {
    for (const PsiSectionRecord& s : m_Sections.TakeSections()) {
      if (StopRequested()) break;
      m_Eit.ProcessSection(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
    }
    // Every table the multiplex announces is in: the guide is complete.
    if (m_Eit.IsComplete()) SetCompleted();
    if (GetTickCount() - t0 > kQuietWindowMs) {
      const size_t count = m_pEvents->Count();
      if (count == lastCount) {
        log(5, "EPG scanning timeout (DVB) - no more events");
        SetCompleted();
      }
      lastCount = count;
      t0 = GetTickCount();
    }
  } while (!WaitSection(kPollMs));
  m_Sections.ClearFilters();
  log(5, "Stop EPG scanning (DVB)");
}
