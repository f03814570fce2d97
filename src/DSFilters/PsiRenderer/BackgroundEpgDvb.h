#pragma once
// Background EPG of a DVB stream: every EIT section of the actual transport
// stream is evaluated at once by a fresh processor.
#include "DSFilters/PsiRenderer/BackgroundEpgBase.h"

class CBackgroundEpgDvb : public CBackgroundEpgBase {
 public:
  using CBackgroundEpgBase::CBackgroundEpgBase;
  ~CBackgroundEpgDvb() override { Stop(); }

 protected:
  void ThreadProc() override;
};
