#pragma once
// DVB channel search: PAT, then the PMTs, then SDT, NIT and CAT.
#include <memory>
#include "DSFilters/PsiRenderer/engine/ChannelSearchBase.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorCat.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorNit.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtDvb.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorSdt.h"

class CChannelSearchDvb : public CChannelSearchBase {
 public:
  CChannelSearchDvb(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType);
  ~CChannelSearchDvb() override { Stop(); }

  std::shared_ptr<CTransponderFrequencies> GetTransponderFrequencies() override { return m_pFrequencies; }
  void Reset() override;

 protected:
  void ThreadProc() override;

 private:
  enum class PmtResult { Complete, Partial, None };

  PmtResult ReadPmts();
  void ReadPsi();
  void Dispatch(const PsiSectionRecord& section);
  void AddPmtFilters();

  const std::shared_ptr<CTransponderFrequencies> m_pFrequencies = std::make_shared<CTransponderFrequencies>();
  const std::shared_ptr<CPsiProcessorPat> m_pPat;
  const std::shared_ptr<CPsiProcessorCat> m_pCat;
  const std::shared_ptr<CPsiProcessorPmtDvb> m_pPmt;
  const std::shared_ptr<CPsiProcessorSdt> m_pSdt;
  const std::shared_ptr<CPsiProcessorNit> m_pNit;
};
