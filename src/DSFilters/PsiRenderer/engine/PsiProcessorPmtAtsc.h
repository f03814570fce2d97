#pragma once
// PMTs read with ATSC descriptors: AC-3 audio and component names give the audio records.
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmt.h"

class CPsiProcessorPmtAtsc : public CPsiProcessorPmt {
 public:
  using CPsiProcessorPmt::CPsiProcessorPmt;

 private:
  std::unique_ptr<CPmt> CreateTable() const override;
  void EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t pmtPid) override;
};
