#include "DSFilters/PsiRenderer/EpgDvb.h"

#include "logging/LogFile.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint16_t kEitPid = 0x0012;
constexpr uint32_t kQuietWindowMs = 30000;
constexpr uint32_t kPollMs = 2000;
}  // namespace

std::vector<uint8_t> ActualEitTableIds() {
  std::vector<uint8_t> ids{0x4E};
  for (uint8_t id = 0x50; id <= 0x5F; ++id) ids.push_back(id);
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
  m_Splitter.ClearFilters();
  for (uint8_t id : tableIds) m_Splitter.AddFilter(kEitPid, id);
  m_Eit.SetTableIds(tableIds);
  log(5, "Start EPG scanning (DVB)");
  uint32_t t0 = GetTickCount();
  size_t lastCount = 0;
  do {
    for (const PsiSectionRecord& s : m_Splitter.TakeSections()) {
      if (StopRequested()) break;
      m_Eit.ProcessSection(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
    }
    if (GetTickCount() - t0 > kQuietWindowMs) {
      const size_t count = m_pEvents->Count();
      if (count == lastCount) {
        log(5, "EPG scanning timeout (DVB) - no more events");
        SetCompleted();
      }
      lastCount = count;
      t0 = GetTickCount();
    }
  } while (!WaitStop(kPollMs));
  log(5, "Stop EPG scanning (DVB)");
}
