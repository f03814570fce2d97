#pragma once
// Foreground EPG of an ATSC stream: the MGT names the EIT and ETT PIDs; their
// tables are collected until every table seen is complete or 30 s pass
// without a section.
#include "DSFilters/PsiRenderer/engine/AtscEventTables.h"
#include "DSFilters/PsiRenderer/engine/EpgBase.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorMgt.h"

class CEpgAtsc : public CEpgBase {
 public:
  CEpgAtsc(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType);
  ~CEpgAtsc() override { Stop(); }
  void Reset() override;

  // Hands one EIT (0xCB) or ETT (0xCC) section to the table of its key.
  void ProcessEventSection(const PsiSectionRecord& section);
  // Every table seen so far is complete (and there is at least one).
  bool TablesComplete() const { return m_Tables.Complete(); }

 protected:
  void ThreadProc() override;

 private:
  CPsiProcessorMgt m_Mgt;
  CAtscEventTables m_Tables{m_pEvents, false};
};
