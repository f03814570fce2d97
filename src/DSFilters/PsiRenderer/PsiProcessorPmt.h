#pragma once
// The PMTs of the programs the PAT listed, one table per program number.
// The DVB and ATSC flavours differ in how they read the elementary streams.
#include <map>
#include <memory>
#include <vector>
#include "DSFilters/PsiRenderer/PmtDescriptorReader.h"
#include "DSFilters/PsiRenderer/PsiChannelProcessor.h"
#include "psi/mpeg/Pmt.h"

class CPsiProcessorPmt : public CPsiChannelProcessor {
 public:
  using CPsiChannelProcessor::CPsiChannelProcessor;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
  // 0 while no program is registered, else 1 only when every PMT is complete.
  int IsComplete() override;
  void Reset() override { m_mapPmts.clear(); }
  // Registers a fresh table for each listed program, forgetting the others.
  void SetPrograms(const std::vector<uint16_t>& programNumbers);

 protected:
  virtual std::unique_ptr<CPmt> CreateTable() const = 0;
  // Reads the streams of a complete PMT into the channel (list locked).
  virtual void EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t pmtPid) = 0;

  static void AddPid(CChannel& channel, const PmtStream& stream, PsiRenderer_StreamType classification);
  static void AddAudioRecords(CChannel& channel, const AudioMap& audio);

 private:
  std::map<uint16_t, std::unique_ptr<CPmt>> m_mapPmts;
};
