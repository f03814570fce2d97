#pragma once
// Creates one channel per program of the PAT.
#include <vector>
#include "DSFilters/PsiRenderer/engine/PsiChannelProcessor.h"
#include "psi/mpeg/Pat.h"

class CPsiProcessorPat : public CPsiChannelProcessor {
 public:
  using CPsiChannelProcessor::CPsiChannelProcessor;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
  int IsComplete() override { return m_Pat.IsComplete() ? 1 : 0; }
  void Reset() override;

  // Parallel lists in PAT order, program 0 left out.
  const std::vector<uint16_t>& PmtPids() const { return m_vPmtPids; }
  const std::vector<uint16_t>& ProgramNumbers() const { return m_vProgramNumbers; }

 private:
  void Evaluate() override;

  CPat m_Pat;
  std::vector<uint16_t> m_vPmtPids;
  std::vector<uint16_t> m_vProgramNumbers;
};
