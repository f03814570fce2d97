#pragma once
// Background EPG of an ATSC stream: the MGT first, then every EIT and ETT
// section evaluated at once by a fresh processor.
#include "DSFilters/PsiRenderer/BackgroundEpgBase.h"
#include "DSFilters/PsiRenderer/GpsTime.h"
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
  int m_nGpsUtcOffset = kDefaultGpsUtcOffset;
};
