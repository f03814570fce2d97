#pragma once
// Writes the network name and the delivery data of the current transport
// stream into every channel, and lists the network's transponders.
#include "DSFilters/PsiRenderer/engine/PsiChannelProcessor.h"
#include "psi/dvb/Nit.h"

class CPsiProcessorNit : public CPsiChannelProcessor {
 public:
  using CPsiChannelProcessor::CPsiChannelProcessor;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override {
    return ProcessTableSection(m_Nit, data, length, pid, tableId);
  }
  int IsComplete() override { return m_Nit.IsComplete() ? 1 : 0; }
  void Reset() override { m_Nit.Clear(); }

 private:
  void Evaluate() override;
  // false when there is no channel to learn the current transport stream from.
  bool EvaluateSubtable(const CNitSubtable& subtable);

  CNit m_Nit;
};
