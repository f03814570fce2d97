#pragma once
// Turns DVB EIT sections (present/following and schedule) into EPG events.
// The events of a section are decoded once, when the section is taken.
#include <map>
#include <memory>
#include <vector>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorBase.h"
#include "psi/dvb/EitDvb.h"

class CPsiProcessorEit : public CPsiProcessorBase {
 public:
  CPsiProcessorEit(std::shared_ptr<CEpgEvents> events, PsiRenderer_NetworkType networkType)
      : CPsiProcessorBase(networkType), m_pEvents(std::move(events)) {}

  // With follow, a new version of a section replaces its sub-table's old
  // version (a long-running reader); without, it waits for Reset.
  void SetFollowVersions(bool follow) { m_bFollowVersions = follow; }
  // Empties the map and creates one empty container per table_id.
  void SetTableIds(const std::vector<uint8_t>& tableIds);
  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
  int IsComplete() override;
  void Reset() override;

 private:
  void UpdateEvent(const CEitDvbSubtable& subtable, const EitDvbEvent& source);
  bool HasSubtable(uint8_t tableId, const EitDvbKey& key) const;

  const std::shared_ptr<CEpgEvents> m_pEvents;
  std::map<uint8_t, std::unique_ptr<CEitDvb>> m_mapTables;
  bool m_bFollowVersions = false;
};
