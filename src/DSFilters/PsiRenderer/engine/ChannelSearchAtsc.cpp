#include "DSFilters/PsiRenderer/engine/ChannelSearchAtsc.h"

#include "logging/LogFile.h"
#include "psi/PsiIds.h"
#include "platform/sync/Clock.h"

namespace {

using namespace psi;

constexpr int kLogLevel = 5;
constexpr uint32_t kTimeoutMs = 6000;
constexpr uint32_t kPollMs = 400;

}  // namespace

CChannelSearchAtsc::CChannelSearchAtsc(CPsiRendererSplitter& splitter)
    : CChannelSearchBase(splitter, PsiRenderer_NetworkType_Atsc),
      m_pPat(std::make_shared<CPsiProcessorPat>(m_pChannels, PsiRenderer_NetworkType_Atsc)),
      m_pPmt(std::make_shared<CPsiProcessorPmtAtsc>(m_pChannels, PsiRenderer_NetworkType_Atsc)),
      m_pVct(std::make_shared<CPsiProcessorVct>(m_pChannels, PsiRenderer_NetworkType_Atsc)) {}

void CChannelSearchAtsc::Reset() {
  CChannelSearchBase::Reset();
  m_pPat->Reset();
  m_pPmt->Reset();
  m_pVct->Reset();
}

void CChannelSearchAtsc::ThreadProc() {
  Reset();
  if (!ReadPat(*m_pPat, kLogLevel)) {
    log(kLogLevel, "No PAT! Search complete.");
    SetCompleted();
    return;
  }
  m_Sections.ClearFilters();
  m_pPmt->SetPrograms(m_pPat->ProgramNumbers());
  for (uint16_t pid : m_pPat->PmtPids()) m_Sections.AddFilter(pid, kPmtTableId);
  m_Sections.AddFilter(kPsipPid, kTerrestrialVctTableId);
  m_Sections.AddFilter(kPsipPid, kCableVctTableId);

  log(kLogLevel, "Start channel scanning (ATSC)");
  uint32_t t0 = GetTickCount();
  do {
    const std::vector<PsiSectionRecord> sections = m_Sections.TakeSections();
    if (!sections.empty()) t0 = GetTickCount();
    for (const PsiSectionRecord& section : sections) {
      const auto* data = section.data.data();
      const auto length = static_cast<uint32_t>(section.data.size());
      if (section.tableId == kPmtTableId)
        m_pPmt->ProcessSection(data, length, section.pid, section.tableId);
      else if (section.tableId == kTerrestrialVctTableId || section.tableId == kCableVctTableId)
        m_pVct->ProcessSection(data, length, section.pid, section.tableId);
    }
    const int pmt = m_pPmt->IsComplete();
    const int vct = m_pVct->IsComplete();
    if (pmt && vct) {
      log(kLogLevel, "PSI complete");
      SetCompleted();
    }
    if (Since(t0) > kTimeoutMs) {
      log(kLogLevel, "PSI complete (timeout) PMT: %d, VCT: %d", pmt, vct);
      SetCompleted();
    }
  } while (!WaitSection(kPollMs));
  log(kLogLevel, "Stop channel scanning (ATSC)");
}
