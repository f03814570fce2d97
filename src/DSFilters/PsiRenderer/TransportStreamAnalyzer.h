#pragma once
// Reads the channels of a recorded transport stream without a tuner: every
// PSI section goes to the same processors a DVB or ATSC channel search uses.
//
// Two passes over the bytes: the first stops as soon as the PAT is complete,
// the second reads the whole stream with the PMT PIDs known, so no PMT
// section that went by before the PAT is lost.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include "DSFilters/PsiRenderer/Channels.h"
#include "DSFilters/PsiRenderer/PsiProcessorCat.h"
#include "DSFilters/PsiRenderer/PsiProcessorNit.h"
#include "DSFilters/PsiRenderer/PsiProcessorPat.h"
#include "DSFilters/PsiRenderer/PsiProcessorPmt.h"
#include "DSFilters/PsiRenderer/PsiProcessorSdt.h"
#include "DSFilters/PsiRenderer/PsiProcessorVct.h"
#include "DSFilters/PsiRenderer/TransponderFrequencies.h"
#include "psi/ts/PsiSectionSplitter.h"
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

class CTransportStreamAnalyzer : private CPsiSectionSplitter {
 public:
  explicit CTransportStreamAnalyzer(bool atsc);

  // Analyses a whole stream held in memory.
  TransportStreamAnalysis Analyze(std::span<const uint8_t> stream);
  // Analyses the packets of a stream, reading it from the start once per pass.
  TransportStreamAnalysis Analyze(CTsPacketReader& stream);

 private:
  enum class Pass { Pat, All };

  void Run(CTsPacketReader& stream, Pass pass);
  void ApplyCatPresence();
  void OnPacket(const uint8_t* packet, uint32_t size) override;
  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override;
  void OnNitSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId);
  void CreateNitProcessor(PsiRenderer_NetworkType networkType);

  const bool m_bAtsc;
  TransportStreamAnalysis m_Result;
  Pass m_Pass = Pass::Pat;
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

// Reads a file ("-": standard input) and analyses it; error tells why it could not be read.
TransportStreamAnalysis AnalyzeTransportStreamFile(const std::string& path, bool atsc);
