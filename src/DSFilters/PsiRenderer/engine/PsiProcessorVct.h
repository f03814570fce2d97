#pragma once
// Names and numbers the ATSC channels from the virtual channel table.
#include "DSFilters/PsiRenderer/engine/PsiChannelProcessor.h"
#include "psi/atsc/Vct.h"

class CPsiProcessorVct : public CPsiChannelProcessor {
 public:
  using CPsiChannelProcessor::CPsiChannelProcessor;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override {
    return ProcessTableSection(m_Vct, data, length, pid, tableId);
  }
  int IsComplete() override { return m_Vct.IsComplete() ? 1 : 0; }
  void Reset() override { m_Vct.Reset(); }

 private:
  void Evaluate() override;

  CVct m_Vct;
};
