#pragma once
// One collector's share of the renderer splitter: the PIDs and table_ids it
// asked for, the newest copy of every distinct section of them until the
// collector takes it, and the event that wakes the collector's worker when a
// section arrives. Collectors never see, or clear, each other's filters.
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <tuple>
#include <vector>

#include "DSFilters/PsiRenderer/engine/PsiSectionRecord.h"
#include "platform/sync/Event.h"


class CPsiRendererSplitter;

class CSectionSubscription {
 public:
  // With deliverOnce, a section equal to the one last taken under its key is
  // not kept again: the collector sees each distinct section once.
  explicit CSectionSubscription(CPsiRendererSplitter& splitter, bool deliverOnce = false);
  ~CSectionSubscription();
  CSectionSubscription(const CSectionSubscription&) = delete;
  CSectionSubscription& operator=(const CSectionSubscription&) = delete;

  // Keep the sections of tableId on pid (a table_id is accepted on every PID of this subscription).
  void AddFilter(uint16_t pid, uint8_t tableId);
  // Drops this subscription's filters and kept sections; other subscriptions keep theirs.
  void ClearFilters();

  // The kept sections in key order; Take empties the store, Peek leaves it.
  std::vector<PsiSectionRecord> TakeSections();
  std::vector<PsiSectionRecord> PeekSections() const;
  // Set (auto-reset) whenever a section is kept.
  Event& Arrived() { return m_Arrived; }

 private:
  friend class CPsiRendererSplitter;
  // PID, table_id, table_id_extension, section_number, ETM_id (ATSC ETT only).
  using SectionKey = std::tuple<uint16_t, uint8_t, uint16_t, uint8_t, uint32_t>;

  // Called by the splitter, under its lock.
  bool Wants(uint16_t pid, uint8_t tableId) const;
  void Keep(const SectionKey& key, uint16_t pid, uint8_t tableId, const uint8_t* data, uint32_t length);
  void DropSections();
  std::set<uint16_t> Pids() const;

  CPsiRendererSplitter& m_Splitter;
  const bool m_bDeliverOnce;
  mutable std::mutex m_lock;
  std::set<uint16_t> m_setPids;
  std::multiset<uint8_t> m_setTableIds;
  std::map<SectionKey, PsiSectionRecord> m_mapSections;
  // deliverOnce: length and CRC_32 of the last copy taken per key (sections
  // reach a subscription validated, so the CRC identifies the content).
  std::map<SectionKey, std::pair<size_t, uint32_t>> m_mapTaken;
  Event m_Arrived{Event::Reset::Auto};
};
