#include "DSFilters/PsiRenderer/engine/EpgAtsc.h"

#include "DSFilters/PsiRenderer/engine/AtscMgtReader.h"
#include "logging/LogFile.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kQuietTimeoutMs = 30000;
constexpr uint32_t kPollMs = 1000;
}  // namespace

CEpgAtsc::CEpgAtsc(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
    : CEpgBase(splitter, networkType), m_Mgt(networkType) {}

void CEpgAtsc::Reset() {
  CEpgBase::Reset();
  m_Mgt.Reset();
  m_Tables.Clear();
}

void CEpgAtsc::ProcessEventSection(const PsiSectionRecord& s) {
  m_Tables.ProcessSection(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
}

void CEpgAtsc::ThreadProc() {
  Reset();
  int gpsUtcOffset = kDefaultGpsUtcOffset;
  const AtscMgtWaits waits{[this] { return StopRequested(); }, [this](uint32_t ms) { return WaitSection(ms); }};
  if (!ReadAtscMgt(m_Sections, m_Mgt, gpsUtcOffset, waits)) return;
  m_Tables.SetGpsUtcOffset(gpsUtcOffset);
  AddAtscEpgFilters(m_Sections, m_Mgt);
  log(5, "Start EPG scanning (ATSC)");
  uint32_t t0 = GetTickCount();
  for (;;) {
    if (StopRequested()) break;
    const std::vector<PsiSectionRecord> sections = m_Sections.TakeSections();
    if (!sections.empty()) t0 = GetTickCount();
    for (const PsiSectionRecord& s : sections) {
      if (StopRequested()) break;
      ProcessEventSection(s);
    }
    if (TablesComplete()) {
      log(5, "EPG scanning complete (ATSC)");
      SetCompleted();
    }
    if (GetTickCount() - t0 > kQuietTimeoutMs) {
      log(5, "EPG scanning timeout (ATSC)");
      SetCompleted();
    }
    if (WaitSection(kPollMs)) break;
  }
  m_Sections.ClearFilters();
  log(5, "Stop EPG scanning (ATSC)");
}
