#pragma once
// Background EPG of a DVB stream: the EIT of the actual transport stream,
// one processor for the whole run that takes each new table version.
#include "DSFilters/PsiRenderer/engine/BackgroundEpgBase.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorEit.h"

class CBackgroundEpgDvb : public CBackgroundEpgBase {
 public:
  CBackgroundEpgDvb(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType);
  ~CBackgroundEpgDvb() override { Stop(); }

 protected:
  void ThreadProc() override;

 private:
  CPsiProcessorEit m_Eit;
};
