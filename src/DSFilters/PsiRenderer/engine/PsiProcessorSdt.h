#pragma once
// Names the channels from the service description table.
#include "DSFilters/PsiRenderer/engine/PsiChannelProcessor.h"
#include "psi/dvb/Sdt.h"

class CPsiProcessorSdt : public CPsiChannelProcessor {
 public:
  using CPsiChannelProcessor::CPsiChannelProcessor;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override {
    return ProcessTableSection(m_Sdt, data, length, pid, tableId);
  }
  int IsComplete() override { return m_Sdt.IsComplete() ? 1 : 0; }
  void Reset() override { m_Sdt.Clear(); }

 private:
  void Evaluate() override;

  CSdt m_Sdt;
};
