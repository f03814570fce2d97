#include "DSFilters/PsiRenderer/engine/PsiProcessorMgt.h"

#include "logging/LogFile.h"

int CPsiProcessorMgt::ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  if (m_Mgt.IsComplete()) return 1;
  if (m_Mgt.AddValidSection(data, length, pid, tableId) == TableAddResult::Invalid) return 0;
  if (!m_Mgt.IsComplete()) return 1;
  m_vEitPids.clear();
  m_vEttPids.clear();
  for (const MgtTableType& table : m_Mgt.tables) {
    if (table.table_type >= 0x0100 && table.table_type <= 0x017F) {
      m_vEitPids.push_back(table.pid);
      log(5, "CPsiProcessorMgt::ProcessSection() added EIT pid: %d", table.pid);
    } else if (table.table_type >= 0x0200 && table.table_type <= 0x027F) {
      m_vEttPids.push_back(table.pid);
      log(5, "CPsiProcessorMgt::ProcessSection() added ETT pid: %d", table.pid);
    }
  }
  return 1;
}

void CPsiProcessorMgt::Reset() {
  m_Mgt.Reset();
  m_vEitPids.clear();
  m_vEttPids.clear();
}
