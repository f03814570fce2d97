#pragma once
// Reads the channels of a recorded transport stream without a tuner: every
// PSI section goes to the same processors a DVB or ATSC channel search uses.
//
// One pass: sections that come before the PAT is complete (PMTs included,
// found by their table_id on any PID) are kept and handed on once the PAT
// names the programs, so the result is that of reading the tables in order
// with the PAT known from the start. An ATSC capture without a PAT takes its
// programs from the VCT and the PMTs that name their program numbers.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include "DSFilters/PsiRenderer/engine/Channels.h"
#include "DSFilters/PsiRenderer/engine/PendingSections.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorCat.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorNit.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPat.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmt.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorSdt.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorVct.h"
#include "DSFilters/PsiRenderer/engine/RecordingReader.h"
#include "DSFilters/PsiRenderer/engine/SectionCollector.h"
#include "DSFilters/PsiRenderer/engine/TransponderFrequencies.h"
#include "psi/ts/TsPacketReader.h"

struct TransportStreamAnalysis {
  std::shared_ptr<CChannels> channels = std::make_shared<CChannels>();
  std::shared_ptr<CTransponderFrequencies> frequencies = std::make_shared<CTransponderFrequencies>();
  // The DVB network type read from the NIT's delivery descriptors, or ATSC.
  std::optional<PsiRenderer_NetworkType> networkType;
  uint64_t packets = 0;
  uint32_t trailingBytes = 0;  // an incomplete packet at the end
  uint32_t packetSize = 0;     // 188, or 192 / 204 as recorded
  std::vector<std::string> warnings;  // what was skipped, and where
  bool patComplete = false;
  bool pmtComplete = false;
  bool sdtComplete = false;
  bool nitComplete = false;
  bool vctComplete = false;
  std::string error;  // empty when channels can be read
};

class CTransportStreamAnalyzer : public ISectionCollector {
 public:
  explicit CTransportStreamAnalyzer(bool atsc);

  // Analyses a whole stream held in memory.
  TransportStreamAnalysis Analyze(std::span<const uint8_t> stream);
  // The result once reader has read a recording with this collector added.
  TransportStreamAnalysis Finish(const CRecordingReader& reader);

  void Attach(ISectionPids& pids) override;
  void OnSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) override;
  bool WantsUnknownPid(uint8_t tableId) const override;

 private:
  void OnPatComplete();
  void ApplyCatPresence();
  void ProgramsFromVct();
  void Route(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId);
  void OnNitSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId);
  void CreateNitProcessor(PsiRenderer_NetworkType networkType);

  const bool m_bAtsc;
  TransportStreamAnalysis m_Result;
  ISectionPids* m_pPids = nullptr;
  bool m_bPatKnown = false;
  CPendingSections m_Pending;
  std::vector<uint16_t> m_vPmtPids;
  CPsiProcessorPat m_Pat;
  std::unique_ptr<CPsiProcessorPmt> m_pPmt;
  CPsiProcessorCat m_Cat;
  CPsiProcessorSdt m_Sdt;
  CPsiProcessorVct m_Vct;
  std::unique_ptr<CPsiProcessorNit> m_pNit;
  // NIT sections held (newest per section number) until a delivery descriptor
  // tells which kind of DVB network the stream comes from.
  std::map<uint8_t, std::vector<uint8_t>> m_mapPendingNit;
};

// What reading the packets told: packet size, skipped bytes, a read error.
void AddReadingOutcome(const CTsPacketReader& packets, TransportStreamAnalysis& analysis);

// Reads a file ("-": standard input) and analyses it; error tells why it could not be read.
TransportStreamAnalysis AnalyzeTransportStreamFile(const std::string& path, bool atsc);
