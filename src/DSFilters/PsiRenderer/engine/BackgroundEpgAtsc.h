#pragma once
// Background EPG of an ATSC stream: the MGT first, then the EIT and ETT
// tables it announces, one processor per table for the whole run.
#include "DSFilters/PsiRenderer/engine/AtscEventTables.h"
#include "DSFilters/PsiRenderer/engine/BackgroundEpgBase.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorMgt.h"

class CBackgroundEpgAtsc : public CBackgroundEpgBase {
 public:
  CBackgroundEpgAtsc(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
      : CBackgroundEpgBase(splitter, networkType), m_Mgt(networkType) {}
  ~CBackgroundEpgAtsc() override { Stop(); }

 protected:
  void ThreadProc() override;

 private:
  CPsiProcessorMgt m_Mgt;
  CAtscEventTables m_Tables{m_pEvents, true};
};
