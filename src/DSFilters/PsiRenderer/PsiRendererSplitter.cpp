#include "DSFilters/PsiRenderer/PsiRendererSplitter.h"

namespace {

constexpr uint8_t kEttTableId = 0xCC;
constexpr uint32_t kLongHeaderLength = 8;
constexpr uint32_t kEtmIdOffset = 9;

uint16_t ReadUInt16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint32_t ReadUInt32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

void CPsiRendererSplitter::AddFilter(uint16_t pid, uint8_t tableId) {
  AutoLock lock(m_lock);
  AddPid(pid);
  m_setTableIds.insert(tableId);
}

void CPsiRendererSplitter::ClearFilters() {
  AutoLock lock(m_lock);
  m_setTableIds.clear();
  m_mapSections.clear();
  ClearPids();
}

void CPsiRendererSplitter::Reset() {
  AutoLock lock(m_lock);
  ClearFilters();
  CPsiSectionSplitter::Reset();
}

void CPsiRendererSplitter::PushSample(const uint8_t* data, uint32_t length) {
  AutoLock lock(m_lock);
  Append(data, length);
  ProcessBuffer();
}

bool CPsiRendererSplitter::OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) {
  if (!m_setTableIds.contains(tableId)) return false;
  // Short sections have neither extension nor number: one copy per table.
  const bool longHeader = (data[1] & 0x80) != 0 && totalLength >= kLongHeaderLength;
  const uint16_t extension = longHeader ? ReadUInt16(data + 3) : 0;
  const uint8_t sectionNumber = longHeader ? data[6] : 0;
  // Every ETT section has number 0; the ETM_id tells them apart.
  const uint32_t etmId =
      tableId == kEttTableId && totalLength >= kEtmIdOffset + 4 ? ReadUInt32(data + kEtmIdOffset) : 0;
  PsiSectionRecord& record = m_mapSections[{pid, tableId, extension, sectionNumber, etmId}];
  record.pid = pid;
  record.tableId = tableId;
  record.data.assign(data, data + totalLength);
  return true;
}

std::vector<PsiSectionRecord> CPsiRendererSplitter::CopySections() const {
  std::vector<PsiSectionRecord> sections;
  sections.reserve(m_mapSections.size());
  for (const auto& [key, record] : m_mapSections) sections.push_back(record);
  return sections;
}

std::vector<PsiSectionRecord> CPsiRendererSplitter::TakeSections() {
  AutoLock lock(m_lock);
  std::vector<PsiSectionRecord> sections = CopySections();
  m_mapSections.clear();
  return sections;
}

std::vector<PsiSectionRecord> CPsiRendererSplitter::PeekSections() {
  AutoLock lock(m_lock);
  return CopySections();
}
