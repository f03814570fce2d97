#include "DSFilters/PsiRenderer/engine/AtscEventTables.h"

#include "psi/PsiIds.h"

void CAtscEventTables::ProcessSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  // EIT: the source_id is the table_id_extension. ETT: the ETM_id follows the protocol_version.
  if (tableId == psi::kAtscEitTableId && length >= 5) {
    auto& eit = m_mapEit[{pid, ReadUInt16At(data + 3)}];
    if (!eit) {
      eit = std::make_unique<CPsiProcessorAtscEit>(m_pEvents, PsiRenderer_NetworkType_Atsc);
      eit->SetFollowVersions(m_bFollowVersions);
    }
    eit->SetGpsUtcOffset(m_nGpsUtcOffset);
    eit->ProcessSection(data, length, pid, tableId);
  } else if (tableId == psi::kEttTableId && length >= 13) {
    const uint32_t etmId = uint32_t{ReadUInt16At(data + 9)} << 16 | ReadUInt16At(data + 11);
    auto& ett = m_mapEtt[{pid, etmId}];
    if (!ett) {
      ett = std::make_unique<CPsiProcessorAtscEtt>(m_pEvents, PsiRenderer_NetworkType_Atsc);
      ett->SetFollowVersions(m_bFollowVersions);
    }
    ett->ProcessSection(data, length, pid, tableId);
  }
}

bool CAtscEventTables::Complete() const {
  if (m_mapEit.empty() && m_mapEtt.empty()) return false;
  for (const auto& [key, eit] : m_mapEit)
    if (!eit->IsComplete()) return false;
  for (const auto& [key, ett] : m_mapEtt)
    if (!ett->IsComplete()) return false;
  return true;
}

void CAtscEventTables::Clear() {
  m_mapEit.clear();
  m_mapEtt.clear();
}
