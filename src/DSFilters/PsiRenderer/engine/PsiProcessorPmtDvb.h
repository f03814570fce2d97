#pragma once
// PMTs read with DVB descriptors: classifies the streams, collects audio,
// teletext and subtitles, and tells MPEG-2 from MPEG-4 video.
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmt.h"

class CPsiProcessorPmtDvb : public CPsiProcessorPmt {
 public:
  using CPsiProcessorPmt::CPsiProcessorPmt;

 private:
  std::unique_ptr<CPmt> CreateTable() const override;
  void EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t pmtPid) override;
};
