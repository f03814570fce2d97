#pragma once
// A DVB table made of sub-tables: one sub-table per key (the section class's
// Key()), each collecting its own sections. table_id is not part of the key.
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

template <typename TSection, typename TSubtable>
class CSubtableContainer {
 public:
  using Key = decltype(std::declval<const TSection&>().Key());
  using Subtables = std::map<Key, std::unique_ptr<TSubtable>>;

  // Parses the section once for its key and hands it to that key's sub-table,
  // which is created on first use. false when the section is invalid.
  bool AddSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
    TSection section;
    if (!section.Parse(data, length)) return false;
    std::unique_ptr<TSubtable>& subtable = m_mapSubtables[section.Key()];
    if (!subtable) subtable = std::make_unique<TSubtable>();
    return subtable->AddSection(data, length, pid, tableId);
  }

  // Complete when at least one sub-table exists and every sub-table is complete.
  bool IsComplete() const {
    if (m_mapSubtables.empty()) return false;
    for (const auto& [key, subtable] : m_mapSubtables)
      if (!subtable->IsComplete()) return false;
    return true;
  }

  void Clear() { m_mapSubtables.clear(); }

  // In key order.
  const Subtables& GetSubtables() const { return m_mapSubtables; }

 private:
  Subtables m_mapSubtables;
};
