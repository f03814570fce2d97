#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"

#include <algorithm>

#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"

namespace {

uint32_t CrcField(const uint8_t* section, size_t length) {
  const uint8_t* p = section + length - 4;
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

CSectionSubscription::CSectionSubscription(CPsiRendererSplitter& splitter, bool deliverOnce)
    : m_Splitter(splitter), m_bDeliverOnce(deliverOnce) {
  m_Splitter.Attach(*this);
}

CSectionSubscription::~CSectionSubscription() { m_Splitter.Detach(*this); }

void CSectionSubscription::AddFilter(uint16_t pid, uint8_t tableId) {
  m_Splitter.ChangeFilters(*this, [&] {
    m_setPids.insert(pid);
    m_setTableIds.insert(tableId);
  });
}

void CSectionSubscription::ClearFilters() {
  m_Splitter.ChangeFilters(*this, [&] {
    m_setPids.clear();
    m_setTableIds.clear();
    m_mapSections.clear();
    m_mapTaken.clear();
  });
}

std::vector<PsiSectionRecord> CSectionSubscription::TakeSections() {
  std::lock_guard lock(m_lock);
  std::vector<PsiSectionRecord> sections;
  sections.reserve(m_mapSections.size());
  for (auto& [key, record] : m_mapSections) {
    if (m_bDeliverOnce) m_mapTaken[key] = {record.data.size(), CrcField(record.data.data(), record.data.size())};
    sections.push_back(std::move(record));
  }
  m_mapSections.clear();
  return sections;
}

std::vector<PsiSectionRecord> CSectionSubscription::PeekSections() const {
  std::lock_guard lock(m_lock);
  std::vector<PsiSectionRecord> sections;
  sections.reserve(m_mapSections.size());
  for (const auto& [key, record] : m_mapSections) sections.push_back(record);
  return sections;
}

bool CSectionSubscription::Wants(uint16_t pid, uint8_t tableId) const {
  std::lock_guard lock(m_lock);
  return m_setPids.contains(pid) && m_setTableIds.contains(tableId);
}

void CSectionSubscription::Keep(const SectionKey& key, uint16_t pid, uint8_t tableId, const uint8_t* data,
                                uint32_t length) {
  {
    std::lock_guard lock(m_lock);
    const auto equal = [&](const std::vector<uint8_t>& copy) {
      return copy.size() == length && std::equal(data, data + length, copy.begin());
    };
    if (m_bDeliverOnce) {
      const auto taken = m_mapTaken.find(key);
      if (taken != m_mapTaken.end() && taken->second == std::pair{size_t{length}, CrcField(data, length)}) return;
    }
    PsiSectionRecord& record = m_mapSections[key];
    // A repeat of the copy still waiting costs a comparison, not a copy.
    if (equal(record.data)) return;
    record.pid = pid;
    record.tableId = tableId;
    record.data.assign(data, data + length);
  }
  m_Arrived.Set();
}

void CSectionSubscription::DropSections() {
  std::lock_guard lock(m_lock);
  m_mapSections.clear();
  m_mapTaken.clear();
}

std::set<uint16_t> CSectionSubscription::Pids() const {
  std::lock_guard lock(m_lock);
  return m_setPids;
}
