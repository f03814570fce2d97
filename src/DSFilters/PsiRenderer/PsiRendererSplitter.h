#pragma once
// Assembles the sections of the registered PIDs from the transport stream
// samples and keeps the newest copy of every distinct section until a consumer
// takes them. Sections of one table are often sent back to back, so one copy
// per section (not per table) must survive between two polls.
#include <cstdint>
#include <map>
#include <set>
#include <tuple>
#include <vector>
#include "platform/sync/RecursiveLock.h"
#include "psi/ts/PsiSectionSplitter.h"

struct PsiSectionRecord {
  uint16_t pid = 0;
  uint8_t tableId = 0;
  std::vector<uint8_t> data;
};

class CPsiRendererSplitter : private CPsiSectionSplitter {
 public:
  // Assemble pid and keep its sections of tableId (accepted on every registered PID).
  void AddFilter(uint16_t pid, uint8_t tableId);
  // Drops every filter, every kept section and every PID.
  void ClearFilters();
  // ClearFilters and drops the buffered stream bytes too.
  void Reset() override;
  // Bytes of a packet cut at the sample's end are kept for the next sample.
  void PushSample(const uint8_t* data, uint32_t length);

  // The kept sections in key order; Take empties the store, Peek leaves it.
  std::vector<PsiSectionRecord> TakeSections();
  std::vector<PsiSectionRecord> PeekSections();

 private:
  // PID, table_id, table_id_extension, section_number, ETM_id (ATSC ETT only).
  using SectionKey = std::tuple<uint16_t, uint8_t, uint16_t, uint8_t, uint32_t>;

  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override;
  std::vector<PsiSectionRecord> CopySections() const;

  mutable RecursiveLock m_lock;
  std::multiset<uint8_t> m_setTableIds;
  std::map<SectionKey, PsiSectionRecord> m_mapSections;
};
