#include "DSFilters/PsiRenderer/EpgAtsc.h"

#include "DSFilters/PsiRenderer/AtscMgtReader.h"
#include "logging/LogFile.h"
#include "platform/sync/Clock.h"

namespace {
constexpr uint32_t kQuietTimeoutMs = 30000;
constexpr uint32_t kPollMs = 1000;

// EIT: the source_id is the table_id_extension. ETT: the ETM_id follows
// the protocol_version.
bool SectionKey(const PsiSectionRecord& s, uint32_t& key) {
  if (s.tableId == 0xCB && s.data.size() >= 5) {
    key = static_cast<uint32_t>(s.data[3] << 8 | s.data[4]);
    return true;
  }
  if (s.tableId == 0xCC && s.data.size() >= 13) {
    key = static_cast<uint32_t>(s.data[9]) << 24 | s.data[10] << 16 | s.data[11] << 8 | s.data[12];
    return true;
  }
  return false;
}
}  // namespace

CEpgAtsc::CEpgAtsc(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
    : CEpgBase(splitter, networkType), m_Mgt(networkType) {}

void CEpgAtsc::Reset() {
  CEpgBase::Reset();
  m_Mgt.Reset();
  m_mapEit.clear();
  m_mapEtt.clear();
}

void CEpgAtsc::ProcessEventSection(const PsiSectionRecord& s) {
  uint32_t id = 0;
  if (!SectionKey(s, id)) return;
  const Key key{s.pid, id};
  const uint32_t length = static_cast<uint32_t>(s.data.size());
  if (s.tableId == 0xCB) {
    auto& eit = m_mapEit[key];
    if (!eit) eit = std::make_unique<CPsiProcessorAtscEit>(m_pEvents, m_NetworkType);
    eit->SetGpsUtcOffset(m_nGpsUtcOffset);
    eit->ProcessSection(s.data.data(), length, s.pid, s.tableId);
  } else {
    auto& ett = m_mapEtt[key];
    if (!ett) ett = std::make_unique<CPsiProcessorAtscEtt>(m_pEvents, m_NetworkType);
    ett->ProcessSection(s.data.data(), length, s.pid, s.tableId);
  }
}

bool CEpgAtsc::TablesComplete() const {
  if (m_mapEit.empty() && m_mapEtt.empty()) return false;
  for (const auto& [key, eit] : m_mapEit)
    if (!eit->IsComplete()) return false;
  for (const auto& [key, ett] : m_mapEtt)
    if (!ett->IsComplete()) return false;
  return true;
}

void CEpgAtsc::ThreadProc() {
  Reset();
  const AtscMgtWaits waits{[this] { return StopRequested(); }, [this](uint32_t ms) { return WaitStop(ms); }};
  if (!ReadAtscMgt(m_Splitter, m_Mgt, m_nGpsUtcOffset, waits)) return;
  AddAtscEpgFilters(m_Splitter, m_Mgt);
  log(5, "Start EPG scanning (ATSC)");
  uint32_t t0 = GetTickCount();
  for (;;) {
    if (StopRequested()) break;
    const std::vector<PsiSectionRecord> sections = m_Splitter.TakeSections();
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
    if (WaitStop(kPollMs)) break;
  }
  log(5, "Stop EPG scanning (ATSC)");
}
