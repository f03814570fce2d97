#include "DSFilters/PsiRenderer/engine/ChannelSearchBase.h"

#include "logging/LogFile.h"
#include "psi/PsiIds.h"
#include "platform/sync/Clock.h"

namespace {
using psi::kPatPid;
using psi::kPatTableId;
constexpr uint32_t kPatTimeoutMs = 3000;
constexpr uint32_t kPollMs = 200;
}  // namespace

CChannelSearchBase::CChannelSearchBase(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
    : m_Sections(splitter), m_NetworkType(networkType) {}

void CChannelSearchBase::Reset() {
  m_pChannels->Clear();
  m_nCompleted = 0;
}

bool CChannelSearchBase::StartChannelScan(uint32_t flags) {
  Stop();
  Reset();
  m_nFlags = flags;
  return Start(THREAD_PRIORITY_NORMAL);
}

uint32_t CChannelSearchBase::Since(uint32_t t0) { return GetTickCount() - t0; }

bool CChannelSearchBase::ReadPat(CPsiProcessorPat& pat, int level) {
  m_Sections.ClearFilters();
  m_Sections.AddFilter(kPatPid, kPatTableId);
  const uint32_t t0 = GetTickCount();
  for (;;) {
    if (StopRequested()) return false;
    for (const PsiSectionRecord& section : m_Sections.TakeSections())
      if (section.tableId == kPatTableId)
        pat.ProcessSection(section.data.data(), static_cast<uint32_t>(section.data.size()), section.pid,
                           section.tableId);
    if (pat.IsComplete()) {
      log(level, "PAT complete");
      return true;
    }
    if (Since(t0) > kPatTimeoutMs) {
      log(level, "PAT complete (timeout)");
      return false;
    }
    if (WaitSection(kPollMs)) return false;
  }
}
