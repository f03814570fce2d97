#include "DSFilters/PsiRenderer/engine/PendingSections.h"

#include "psi/PsiIds.h"
#include "psi/ts/PsiSection.h"

void CPendingSections::Keep(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  if (m_vSections.size() >= kMaxSections || length < 8) return;
  const uint32_t etmId = tableId == psi::kEttTableId && length >= 13
                             ? uint32_t{ReadUInt16At(data + 9)} << 16 | ReadUInt16At(data + 11)
                             : 0;
  if (!m_setKeys.insert({pid, tableId, ReadUInt16At(data + 3), data[6], etmId}).second) return;
  m_vSections.push_back({pid, tableId, std::vector<uint8_t>(data, data + length)});
}
