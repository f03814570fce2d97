#pragma once
// A DVB table made of sub-tables: one sub-table per key (the section class's
// Key()), each collecting its own sections. table_id is not part of the key.
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "psi/ts/PsiSection.h"
#include "psi/ts/PsiTable.h"

template <typename TSection, typename TSubtable>
class CSubtableContainer {
 public:
  using Key = decltype(std::declval<const TSection&>().Key());
  using Subtables = std::map<Key, std::unique_ptr<TSubtable>>;

  // Hands the section to its key's sub-table, which is created on first use.
  // false when the section is invalid.
  bool AddSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
    CPsiSection header;
    if (!header.Parse(data, length)) return false;
    return AddValidSection(data, length, pid, tableId) != TableAddResult::Invalid;
  }

  // For a section validated where it was assembled. The key is read from the
  // header, so a repeat reaches its sub-table without being parsed. added,
  // when given, receives the sub-table that took new content.
  TableAddResult AddValidSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId,
                                 const TSubtable** added = nullptr) {
    CPsiSection header;
    if (!header.ParseValidated(data, length)) return TableAddResult::Invalid;
    auto [it, created] = m_mapSubtables.try_emplace(TSection::KeyOf(data));
    if (created) it->second = std::make_unique<TSubtable>();
    const TableAddResult result = it->second->AddValidSection(data, length, pid, tableId);
    // A section whose content cannot be read does not make a sub-table.
    if (created && !it->second->HasContent()) {
      m_mapSubtables.erase(it);
      return TableAddResult::Invalid;
    }
    if (result == TableAddResult::Taken && added) *added = it->second.get();
    return result;
  }

  // Empties the sub-table this section belongs to (to take a new version of it).
  void ResetSubtableOf(const uint8_t* data) {
    const auto found = m_mapSubtables.find(TSection::KeyOf(data));
    if (found != m_mapSubtables.end()) found->second->Reset();
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
