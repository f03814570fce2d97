#pragma once
// Sections kept until what they depend on is known (the PAT for the channel
// tables, the MGT for an ATSC guide): the first copy of every distinct
// section, in arrival order, as a table would have taken it. At most
// kMaxSections are kept, so a stream that never tells cannot fill memory.
#include <cstddef>
#include <cstdint>
#include <set>
#include <tuple>
#include <vector>

#include "DSFilters/PsiRenderer/engine/PsiSectionRecord.h"

class CPendingSections {
 public:
  static constexpr size_t kMaxSections = 4096;

  void Keep(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId);
  // Hands every kept section to visit (pid, tableId, data, length), keeping them.
  template <typename TVisit>
  void ForEach(TVisit visit) const {
    for (const PsiSectionRecord& s : m_vSections) visit(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
  }
  // Hands every kept section to handle (pid, tableId, data, length), then forgets them.
  template <typename THandle>
  void Replay(THandle handle) {
    std::vector<PsiSectionRecord> sections = std::move(m_vSections);
    m_vSections.clear();
    m_setKeys.clear();
    for (const PsiSectionRecord& s : sections) handle(s.data.data(), static_cast<uint32_t>(s.data.size()), s.pid, s.tableId);
  }

 private:
  // PID, table_id, table_id_extension, section_number, and for an ETT its ETM_id.
  using Key = std::tuple<uint16_t, uint8_t, uint16_t, uint8_t, uint32_t>;

  std::set<Key> m_setKeys;
  std::vector<PsiSectionRecord> m_vSections;
};
