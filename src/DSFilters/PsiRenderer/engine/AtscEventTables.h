#pragma once
// The ATSC event tables of one stream: every EIT-k carries one table per
// source and every ETT one table per ETM_id, so a processor is kept per
// (PID, source_id) and per (PID, ETM_id) for as long as the reader runs.
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorAtscEit.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorAtscEtt.h"
#include "psi/atsc/GpsTime.h"

class CAtscEventTables {
 public:
  // followVersions: see CPsiProcessorAtscEit::SetFollowVersions.
  CAtscEventTables(std::shared_ptr<CEpgEvents> events, bool followVersions)
      : m_pEvents(std::move(events)), m_bFollowVersions(followVersions) {}

  // Hands one EIT (0xCB) or ETT (0xCC) section to the processor of its key.
  void ProcessSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId);
  // Every table seen so far is complete (and there is at least one).
  bool Complete() const;
  void Clear();
  // The leap seconds from the stream's System Time Table, for the EITs that follow.
  void SetGpsUtcOffset(int offset) { m_nGpsUtcOffset = offset; }

 private:
  using Key = std::pair<uint16_t, uint32_t>;  // PID, source_id or ETM_id

  const std::shared_ptr<CEpgEvents> m_pEvents;
  const bool m_bFollowVersions;
  std::map<Key, std::unique_ptr<CPsiProcessorAtscEit>> m_mapEit;
  std::map<Key, std::unique_ptr<CPsiProcessorAtscEtt>> m_mapEtt;
  int m_nGpsUtcOffset = kDefaultGpsUtcOffset;
};
