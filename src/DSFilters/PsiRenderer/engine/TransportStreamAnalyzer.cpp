#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"

#include <algorithm>

#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtAtsc.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPmtDvb.h"
#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"
#include "psi/PsiIds.h"
#include "psi/atsc/Vct.h"
#include "psi/dvb/NitSection.h"
#include "psi/ts/ChunkSource.h"

namespace {
using namespace psi;

// The kind of network whose delivery descriptor the NIT section carries first.
std::optional<PsiRenderer_NetworkType> DeliveryType(const uint8_t* data, uint32_t length) {
  CNitSection section;
  if (!section.Parse(data, length)) return std::nullopt;
  for (const NitTransportStream& ts : section.transport_streams) {
    for (const auto& descriptor : ts.descriptors) {
      switch (descriptor.tag) {
        case 0x43: return PsiRenderer_NetworkType_Dvbs;
        case 0x44: return PsiRenderer_NetworkType_Dvbc;
        case 0x5A: return PsiRenderer_NetworkType_Dvbt;
        default: break;
      }
    }
  }
  return std::nullopt;
}
}  // namespace

CTransportStreamAnalyzer::CTransportStreamAnalyzer(bool atsc)
    : m_bAtsc(atsc),
      m_Pat(m_Result.channels, atsc ? PsiRenderer_NetworkType_Atsc : PsiRenderer_NetworkType_Dvbt),
      m_Cat(m_Result.channels, PsiRenderer_NetworkType_Dvbt),
      m_Sdt(m_Result.channels, PsiRenderer_NetworkType_Dvbt),
      m_Vct(m_Result.channels, PsiRenderer_NetworkType_Atsc) {
  if (atsc) {
    m_pPmt = std::make_unique<CPsiProcessorPmtAtsc>(m_Result.channels, PsiRenderer_NetworkType_Atsc);
    m_Result.networkType = PsiRenderer_NetworkType_Atsc;
  } else {
    m_pPmt = std::make_unique<CPsiProcessorPmtDvb>(m_Result.channels, PsiRenderer_NetworkType_Dvbt);
  }
}

TransportStreamAnalysis CTransportStreamAnalyzer::Analyze(std::span<const uint8_t> stream) {
  CRecordingReader reader;
  reader.Add(*this);
  CMemoryByteSource source(stream);
  CTsPacketReader packets(source);
  reader.Read(packets);
  TransportStreamAnalysis result = Finish(reader);
  AddReadingOutcome(packets, result);
  return result;
}

void CTransportStreamAnalyzer::Attach(ISectionPids& pids) {
  m_pPids = &pids;
  pids.AddPid(kPatPid);
  if (m_bAtsc) {
    pids.AddPid(kPsipPid);
  } else {
    pids.AddPid(kCatPid);
    pids.AddPid(kNitPid);
    pids.AddPid(kSdtPid);
  }
}

bool CTransportStreamAnalyzer::WantsUnknownPid(uint8_t tableId) const {
  return !m_bPatKnown && tableId == kPmtTableId;
}

void CTransportStreamAnalyzer::OnSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  if (m_bPatKnown) return Route(data, length, pid, tableId);
  if (pid != kPatPid) return m_Pending.Keep(data, length, pid, tableId);
  if (tableId != kPatTableId) return;
  m_Pat.ProcessSection(data, length, pid, tableId);
  if (m_Pat.IsComplete()) OnPatComplete();
}

void CTransportStreamAnalyzer::OnPatComplete() {
  m_bPatKnown = true;
  m_vPmtPids = m_Pat.PmtPids();
  for (uint16_t pid : m_vPmtPids) m_pPids->AddPid(pid);
  m_pPmt->SetPrograms(m_Pat.ProgramNumbers());
  m_Pending.Replay([this](const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
    Route(data, length, pid, tableId);
  });
}

void CTransportStreamAnalyzer::ProgramsFromVct() {
  CVct vct;
  std::map<uint16_t, uint16_t> pmtPids;  // program_number -> PID of the first PMT naming it
  m_Pending.ForEach([&](const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
    if (pid == kPsipPid && IsVct(tableId))
      vct.AddValidSection(data, length, pid, tableId);
    else if (tableId == kPmtTableId && length >= 12)
      pmtPids.try_emplace(ReadUInt16At(data + 3), pid);
  });
  if (!vct.IsComplete()) return;
  std::vector<uint16_t> programs;
  {
    AutoLock lock(m_Result.channels->Lock());
    for (const VctChannel& entry : vct.channels) {
      const auto pmt = pmtPids.find(entry.program_number);
      if (pmt == pmtPids.end()) continue;
      const auto channel = m_Result.channels->CreateChannel(entry.program_number);
      channel->m_nTransportStreamId = vct.transport_stream_id;
      channel->m_nPmtPid = pmt->second;
      m_vPmtPids.push_back(pmt->second);
      programs.push_back(entry.program_number);
    }
  }
  m_pPmt->SetPrograms(programs);
  m_bPatKnown = true;
  m_Pending.Replay([this](const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
    Route(data, length, pid, tableId);
  });
}

TransportStreamAnalysis CTransportStreamAnalyzer::Finish(const CRecordingReader& reader) {
  if (m_bAtsc && !m_bPatKnown) ProgramsFromVct();
  m_Result.packets = reader.Packets();
  m_Result.trailingBytes = reader.TrailingBytes();
  m_Result.patComplete = m_Pat.IsComplete() != 0;
  if (m_Result.patComplete && !m_bAtsc) {
    // No delivery descriptor anywhere: the kind of network changes nothing.
    if (!m_pNit && !m_mapPendingNit.empty()) CreateNitProcessor(PsiRenderer_NetworkType_Dvbt);
    ApplyCatPresence();
  }
  m_Result.pmtComplete = m_pPmt->IsComplete() != 0;
  m_Result.sdtComplete = m_Sdt.IsComplete() != 0;
  m_Result.nitComplete = m_pNit && m_pNit->IsComplete();
  m_Result.vctComplete = m_Vct.IsComplete() != 0;

  // A recording cut inside a packet still has its tables: the packet
  // reader reports the cut as a warning.
  if (m_Result.packets == 0)
    m_Result.error = "not a transport stream: no packets found";
  else if (!m_Result.patComplete && m_Result.channels->Size() == 0)
    m_Result.error = "no complete PAT in the stream, so it has no channels";
  return std::move(m_Result);
}

void CTransportStreamAnalyzer::ApplyCatPresence() {
  // Unlike a channel search, the analysis keeps a channel that no SDT
  // described at an unknown CA state instead of guessing from the CAT.
  std::vector<std::shared_ptr<CChannel>> unknown;
  for (size_t i = 0; i < m_Result.channels->Size(); ++i)
    if (auto channel = m_Result.channels->GetChannel(i); channel && channel->m_nCa == -1) unknown.push_back(channel);
  m_Result.channels->ApplyCatPresence();
  for (const auto& channel : unknown) channel->m_nCa = -1;
}

void AddReadingOutcome(const CTsPacketReader& packets, TransportStreamAnalysis& analysis) {
  analysis.trailingBytes = packets.TrailingBytes();
  analysis.packetSize = packets.PacketSize();
  analysis.warnings = packets.Warnings();
  if (!packets.Error().empty()) analysis.error = packets.Error();
}

void CTransportStreamAnalyzer::Route(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  // Processor refusals are ignored, as in a channel search.
  switch (RouteChannelTable(tableId, m_bAtsc)) {
    case ChannelTable::Pmt:
      if (std::find(m_vPmtPids.begin(), m_vPmtPids.end(), pid) != m_vPmtPids.end())
        m_pPmt->ProcessSection(data, length, pid, tableId);
      break;
    case ChannelTable::Vct:
      if (pid == kPsipPid) m_Vct.ProcessSection(data, length, pid, tableId);
      break;
    case ChannelTable::Cat:
      if (pid == kCatPid) m_Cat.ProcessSection(data, length, pid, tableId);
      break;
    case ChannelTable::Sdt:
      if (pid == kSdtPid) m_Sdt.ProcessSection(data, length, pid, tableId);
      break;
    case ChannelTable::Nit:
      if (pid == kNitPid) OnNitSection(data, length, pid, tableId);
      break;
    default:
      break;
  }
}

void CTransportStreamAnalyzer::OnNitSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  if (!m_pNit) {
    if (const auto type = DeliveryType(data, length)) {
      CreateNitProcessor(*type);
    } else {
      CPsiSection header;
      if (header.Parse(data, length)) m_mapPendingNit[header.section_number].assign(data, data + length);
      return;
    }
  }
  m_pNit->ProcessSection(data, length, pid, tableId);
}

void CTransportStreamAnalyzer::CreateNitProcessor(PsiRenderer_NetworkType networkType) {
  m_Result.networkType = networkType;
  m_pNit = std::make_unique<CPsiProcessorNit>(m_Result.channels, networkType, m_Result.frequencies);
  for (const auto& [number, section] : m_mapPendingNit)
    m_pNit->ProcessSection(section.data(), static_cast<uint32_t>(section.size()), kNitPid, kNitActualTableId);
  m_mapPendingNit.clear();
}

TransportStreamAnalysis AnalyzeTransportStreamFile(const std::string& path, bool atsc) {
  return AnalyzeRecordingFile(path, atsc, false).channels;
}
