#pragma once
// Notes on the channel list that a complete CAT was seen; its content is not used.
#include "DSFilters/PsiRenderer/engine/PsiChannelProcessor.h"
#include "psi/mpeg/Cat.h"

class CPsiProcessorCat : public CPsiChannelProcessor {
 public:
  using CPsiChannelProcessor::CPsiChannelProcessor;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override {
    return ProcessTableSection(m_Cat, data, length, pid, tableId);
  }
  int IsComplete() override { return m_Cat.IsComplete() ? 1 : 0; }
  void Reset() override { m_Cat.Reset(); }

 private:
  void Evaluate() override { m_pChannels->SetCatSeen(); }

  CCat m_Cat;
};
