#pragma once
// Background EPG of an ATSC stream: the MGT first, then the EIT and ETT
// tables it announces, one processor per table for the whole run.
#include "DSFilters/PsiRenderer/AtscEventTables.h"
#include "DSFilters/PsiRenderer/BackgroundEpgBase.h"
#include "DSFilters/PsiRenderer/PsiProcessorMgt.h"

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
