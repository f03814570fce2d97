#pragma once
// Foreground EPG of a DVB stream: EIT present/following and schedule of the
// actual transport stream. Complete once 30 s pass without a new event.
#include "DSFilters/PsiRenderer/engine/EpgBase.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorEit.h"

class CEpgDvb : public CEpgBase {
 public:
  CEpgDvb(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType);
  ~CEpgDvb() override { Stop(); }
  void Reset() override;

 protected:
  void ThreadProc() override;

 private:
  CPsiProcessorEit m_Eit;
};

// 0x4E, then 0x50 to 0x5F: the EIT tables of the actual transport stream.
std::vector<uint8_t> ActualEitTableIds();
