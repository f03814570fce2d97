#include "DSFilters/PsiRenderer/CAManager.h"

#include "psi/dvb/SdtSection.h"
#include "psi/mpeg/PatSection.h"
#include "psi/mpeg/PmtSection.h"

namespace {
constexpr uint8_t kPatTableId = 0x00;
constexpr uint8_t kPmtTableId = 0x02;
constexpr uint8_t kSdtTableId = 0x42;
constexpr uint32_t kIdleWaitMs = 200;
constexpr uint32_t kSkipWaitMs = 400;
constexpr uint32_t kSectionWaitMs = 80;
}  // namespace

CCAManager::ScramblingState CCAManager::GetScramblingState(uint16_t serviceId) const {
  AutoLock lock(m_lock);
  const auto found = m_mapScrambling.find(serviceId);
  if (found == m_mapScrambling.end()) return kUnknown;
  return found->second != 0 ? kScrambled : kClear;
}

std::vector<uint8_t> CCAManager::GetPmt(uint16_t programNumber) const {
  AutoLock lock(m_lock);
  const auto found = m_mapPmts.find(programNumber);
  return found == m_mapPmts.end() ? std::vector<uint8_t>{} : found->second;
}

void CCAManager::Clear() {
  AutoLock lock(m_lock);
  m_mapScrambling.clear();
  m_mapPrograms.clear();
  m_mapPmts.clear();
}

bool CCAManager::Wants(uint8_t tableId) const {
  AutoLock lock(m_lock);
  if (m_mapPmts.empty()) return true;
  for (const auto& [program, pmt] : m_mapPmts)
    if (pmt.empty()) return true;
  // With every PMT stored, only the SDT can still tell a missing scrambling state
  // (PMTs usually come before the SDT).
  if (tableId != kSdtTableId) return false;
  for (const auto& [program, pid] : m_mapPrograms)
    if (!m_mapScrambling.contains(program)) return true;
  return false;
}

void CCAManager::ProcessSection(const PsiSectionRecord& section) {
  AutoLock lock(m_lock);
  const uint8_t* data = section.data.data();
  const auto length = static_cast<uint32_t>(section.data.size());
  if (length == 0) return;
  switch (section.tableId) {
    case kPatTableId: {
      if (!m_mapPrograms.empty()) return;
      CPatSection pat;
      if (!pat.Parse(data, length)) return;
      for (const PatProgram& program : pat.programs) {
        if (program.program_number == 0) continue;
        m_mapPrograms[program.program_number] = program.pid;
        m_mapPmts[program.program_number].clear();
        m_Splitter.AddFilter(program.pid, kPmtTableId);
      }
      return;
    }
    case kPmtTableId: {
      CPmtSection pmt(DescriptorContext_Mpeg);
      if (!pmt.Parse(data, length)) return;
      if (m_mapPrograms.contains(pmt.program_number)) m_mapPmts[pmt.program_number] = section.data;
      return;
    }
    case kSdtTableId: {
      CSdtSection sdt;
      if (!sdt.Parse(data, length)) return;
      for (const SdtService& service : sdt.services) m_mapScrambling[service.service_id] = service.free_ca_mode;
      return;
    }
    default:
      return;
  }
}

void CCAManager::ThreadProc() {
  while (!StopRequested()) {
    const std::vector<PsiSectionRecord> sections = m_Splitter.PeekSections();
    if (sections.empty()) {
      if (WaitStop(kIdleWaitMs)) return;
      continue;
    }
    for (const PsiSectionRecord& section : sections) {
      if (!Wants(section.tableId)) {
        if (WaitStop(kSkipWaitMs)) return;
        continue;
      }
      ProcessSection(section);
      if (WaitStop(kSectionWaitMs)) return;
    }
  }
}
