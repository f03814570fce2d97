#pragma once
// Foreground EPG of an ATSC stream: the MGT names the EIT and ETT PIDs; every
// EIT-k carries one table per source and every ETT one table per ETM_id, so
// a table is kept per (PID, source_id) and per (PID, ETM_id).
#include <map>
#include <memory>
#include <utility>

#include "DSFilters/PsiRenderer/EpgBase.h"
#include "DSFilters/PsiRenderer/GpsTime.h"
#include "DSFilters/PsiRenderer/PsiProcessorAtscEit.h"
#include "DSFilters/PsiRenderer/PsiProcessorAtscEtt.h"
#include "DSFilters/PsiRenderer/PsiProcessorMgt.h"

class CEpgAtsc : public CEpgBase {
 public:
  CEpgAtsc(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType);
  ~CEpgAtsc() override { Stop(); }
  void Reset() override;

  // Hands one EIT (0xCB) or ETT (0xCC) section to the table of its key.
  void ProcessEventSection(const PsiSectionRecord& section);
  // Every table seen so far is complete (and there is at least one).
  bool TablesComplete() const;

 protected:
  void ThreadProc() override;

 private:
  using Key = std::pair<uint16_t, uint32_t>;  // PID, source_id or ETM_id

  CPsiProcessorMgt m_Mgt;
  std::map<Key, std::unique_ptr<CPsiProcessorAtscEit>> m_mapEit;
  std::map<Key, std::unique_ptr<CPsiProcessorAtscEtt>> m_mapEtt;
  int m_nGpsUtcOffset = kDefaultGpsUtcOffset;
};
