#include "psi/ts/PsiTable.h"

#include "psi/ts/PsiSection.h"

namespace {

uint32_t CrcField(const uint8_t* section, uint32_t totalLength) {
  const uint8_t* p = section + totalLength - 4;
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

void CPsiTable::Reset() {
  m_nTaken = 0;
  m_mapSections.clear();
  m_nLastSectionNumber = -1;
}

bool CPsiTable::AddSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  CPsiSection header;
  if (!header.Parse(data, length)) return false;
  AddValidSection(data, length, pid, tableId);
  return true;
}

TableAddResult CPsiTable::AddValidSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  CPsiSection header;
  if (!header.ParseValidated(data, length)) return TableAddResult::Invalid;
  const uint32_t crc = CrcField(data, header.total_length);
  const auto taken = m_mapSections.find(header.section_number);
  if (taken != m_mapSections.end() && taken->second.parsed && taken->second.length == header.total_length &&
      taken->second.crc == crc && taken->second.tableId == static_cast<uint8_t>(tableId))
    return TableAddResult::Known;

  m_nLastSectionNumber = header.last_section_number;
  SectionState& state = m_mapSections[header.section_number];
  if (state.parsed) return TableAddResult::Changed;  // this number is taken; a changed copy waits for Reset
  if (!ParseSection(data, length, pid, tableId)) return TableAddResult::Known;
  state = {true, header.total_length, crc, static_cast<uint8_t>(tableId)};
  ++m_nTaken;
  return TableAddResult::Taken;
}

bool CPsiTable::HasSection(int32_t sectionNumber) const {
  const auto found = m_mapSections.find(sectionNumber);
  return found != m_mapSections.end() && found->second.parsed;
}

bool CPsiTable::IsComplete() const {
  if (m_nLastSectionNumber < 0) return false;
  if (m_mapSections.size() != static_cast<size_t>(m_nLastSectionNumber) + 1) return false;
  for (int32_t s = 0; s <= m_nLastSectionNumber; ++s) {
    auto it = m_mapSections.find(s);
    if (it == m_mapSections.end() || !it->second.parsed) return false;
  }
  return true;
}
