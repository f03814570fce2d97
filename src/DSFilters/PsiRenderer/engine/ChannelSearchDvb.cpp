#include "DSFilters/PsiRenderer/engine/ChannelSearchDvb.h"

#include "logging/LogFile.h"
#include "psi/PsiIds.h"
#include "platform/sync/Clock.h"

namespace {

using namespace psi;

constexpr int kLogLevel = 4;
constexpr uint32_t kPmtTimeoutMs = 10000;
constexpr uint32_t kPsiTimeoutMs = 10000;
constexpr uint32_t kPmtPollMs = 200;
constexpr uint32_t kPsiPollMs = 400;

int Process(CPsiProcessorBase& processor, const PsiSectionRecord& section) {
  return processor.ProcessSection(section.data.data(), static_cast<uint32_t>(section.data.size()), section.pid,
                                  section.tableId);
}

}  // namespace

CChannelSearchDvb::CChannelSearchDvb(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
    : CChannelSearchBase(splitter, networkType),
      m_pPat(std::make_shared<CPsiProcessorPat>(m_pChannels, networkType)),
      m_pCat(std::make_shared<CPsiProcessorCat>(m_pChannels, networkType)),
      m_pPmt(std::make_shared<CPsiProcessorPmtDvb>(m_pChannels, networkType)),
      m_pSdt(std::make_shared<CPsiProcessorSdt>(m_pChannels, networkType)),
      m_pNit(std::make_shared<CPsiProcessorNit>(m_pChannels, networkType, m_pFrequencies)) {}

void CChannelSearchDvb::Reset() {
  CChannelSearchBase::Reset();
  m_pFrequencies->Clear();
  m_pPat->Reset();
  m_pCat->Reset();
  m_pPmt->Reset();
  m_pSdt->Reset();
  m_pNit->Reset();
}

void CChannelSearchDvb::ThreadProc() {
  Reset();
  log(kLogLevel, "Reading PAT data...");
  if (!ReadPat(*m_pPat, kLogLevel)) {
    log(kLogLevel, "No PAT! Search complete.");
    SetCompleted();
    return;
  }
  m_Sections.ClearFilters();
  AddPmtFilters();
  const PmtResult pmts = ReadPmts();
  if (pmts == PmtResult::None) {
    log(kLogLevel, "No PMT! Search complete.");
    SetCompleted();
    return;
  }
  m_Sections.ClearFilters();
  // PMTs missing at the time-out may still come (or never: an off-air service).
  if (pmts == PmtResult::Partial) AddPmtFilters();
  m_Sections.AddFilter(kCatPid, kCatTableId);
  m_Sections.AddFilter(kSdtPid, kSdtActualTableId);
  m_Sections.AddFilter(kNitPid, kNitActualTableId);
  ReadPsi();
  m_pChannels->ApplyCatPresence();
}

void CChannelSearchDvb::AddPmtFilters() {
  for (uint16_t pid : m_pPat->PmtPids()) m_Sections.AddFilter(pid, kPmtTableId);
}

CChannelSearchDvb::PmtResult CChannelSearchDvb::ReadPmts() {
  log(kLogLevel, "Reading PMT data...");
  m_pPmt->SetPrograms(m_pPat->ProgramNumbers());
  const uint32_t t0 = GetTickCount();
  bool anyPmt = false;
  for (;;) {
    if (StopRequested()) return PmtResult::None;
    for (const PsiSectionRecord& section : m_Sections.TakeSections())
      if (section.tableId == kPmtTableId && Process(*m_pPmt, section)) anyPmt = true;
    if (m_pPmt->IsComplete()) {
      log(kLogLevel, "PMT complete");
      return PmtResult::Complete;
    }
    if (Since(t0) > kPmtTimeoutMs) {
      log(kLogLevel, "PMT timeout");
      return anyPmt ? PmtResult::Partial : PmtResult::None;
    }
    if (WaitSection(kPmtPollMs)) return PmtResult::None;
  }
}

void CChannelSearchDvb::Dispatch(const PsiSectionRecord& section) {
  switch (psi::RouteChannelTable(section.tableId, false)) {
    case psi::ChannelTable::Pmt: Process(*m_pPmt, section); break;
    case psi::ChannelTable::Cat: Process(*m_pCat, section); break;
    case psi::ChannelTable::Sdt: Process(*m_pSdt, section); break;
    case psi::ChannelTable::Nit: Process(*m_pNit, section); break;
    default: break;
  }
}

void CChannelSearchDvb::ReadPsi() {
  log(kLogLevel, "Reading PSI data (DVB)...");
  uint32_t t0 = GetTickCount();
  do {
    const std::vector<PsiSectionRecord> sections = m_Sections.TakeSections();
    // The time-out counts from the last arrival.
    if (!sections.empty()) t0 = GetTickCount();
    for (const PsiSectionRecord& section : sections) Dispatch(section);
    const int sdt = m_pSdt->IsComplete();
    const int nit = m_pNit->IsComplete();
    const bool nitRequired = (Flags() & kFlagNitRequired) != 0;
    if (sdt && (!nitRequired || nit)) {
      log(kLogLevel, nitRequired ? "Read PSI data (DVB) complete (PAT, PMT, SDT, NIT)"
                                 : "Read PSI data (DVB) complete (PAT, PMT, SDT)");
      SetCompleted();
    }
    if (Since(t0) > kPsiTimeoutMs) {
      log(kLogLevel, "Read PSI data (DVB) complete (timeout). Completed: SDT: %d, NIT: %d", sdt, nit);
      SetCompleted();
    }
  } while (!WaitSection(kPsiPollMs));
  log(kLogLevel, "Stop channel scanning (DVB)");
}
