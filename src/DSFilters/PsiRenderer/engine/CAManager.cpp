#include "DSFilters/PsiRenderer/engine/CAManager.h"

#include "platform/sync/Clock.h"
#include "psi/PsiIds.h"
#include "psi/dvb/SdtSection.h"
#include "psi/mpeg/PatSection.h"

using namespace psi;

CCAManager::CCAManager(CPsiRendererSplitter& splitter) : m_Sections(splitter, true) { AddDefaultFilters(); }

void CCAManager::AddDefaultFilters() {
  m_Sections.AddFilter(kPatPid, kPatTableId);
  m_Sections.AddFilter(kSdtPid, kSdtActualTableId);
}

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
  m_Sections.ClearFilters();
  AddDefaultFilters();
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
      if (!pat.ParseValidated(data, length)) return;
      for (const PatProgram& program : pat.programs) {
        if (program.program_number == 0) continue;
        m_mapPrograms[program.program_number] = program.pid;
        m_mapPmts[program.program_number].clear();
        m_Sections.AddFilter(program.pid, kPmtTableId);
      }
      return;
    }
    case kPmtTableId: {
      CPsiSection header;
      if (!header.ParseValidated(data, length)) return;
      // Every new version replaces the stored one, so ECM PIDs follow PMT updates.
      const uint16_t programNumber = ReadUInt16At(data + 3);
      if (m_mapPrograms.contains(programNumber)) m_mapPmts[programNumber] = section.data;
      return;
    }
    case kSdtActualTableId: {
      CSdtSection sdt;
      if (!sdt.ParseValidated(data, length)) return;
      for (const SdtService& service : sdt.services) m_mapScrambling[service.service_id] = service.free_ca_mode;
      return;
    }
    default:
      return;
  }
}

void CCAManager::ProcessPendingSections() {
  for (const PsiSectionRecord& section : m_Sections.TakeSections()) ProcessSection(section);
}

void CCAManager::ThreadProc() {
  do {
    ProcessPendingSections();
  } while (!WaitStopOr(m_Sections.Arrived(), INFINITE));
}
