#pragma once
// ATSC channel search: PAT, then the PMTs and the VCT together.
#include <memory>
#include "DSFilters/PsiRenderer/engine/ChannelSearchBase.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtAtsc.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorVct.h"

class CChannelSearchAtsc : public CChannelSearchBase {
 public:
  explicit CChannelSearchAtsc(CPsiRendererSplitter& splitter);
  ~CChannelSearchAtsc() override { Stop(); }

  void Reset() override;

 protected:
  void ThreadProc() override;

 private:
  const std::shared_ptr<CPsiProcessorPat> m_pPat;
  const std::shared_ptr<CPsiProcessorPmtAtsc> m_pPmt;
  const std::shared_ptr<CPsiProcessorVct> m_pVct;
};
