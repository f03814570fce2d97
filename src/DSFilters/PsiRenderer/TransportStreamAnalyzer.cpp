#include "DSFilters/PsiRenderer/TransportStreamAnalyzer.h"

#include <algorithm>

#include "DSFilters/PsiRenderer/PsiProcessorPmtAtsc.h"
#include "DSFilters/PsiRenderer/PsiProcessorPmtDvb.h"
#include "platform/os/InputFile.h"
#include "psi/dvb/NitSection.h"

namespace {
constexpr uint16_t kPatPid = 0x0000;
constexpr uint16_t kCatPid = 0x0001;
constexpr uint16_t kNitPid = 0x0010;
constexpr uint16_t kSdtPid = 0x0011;
constexpr uint16_t kPsipPid = 0x1FFB;
// Small enough that the first pass stops soon after the PAT.
constexpr size_t kChunk = 188 * 64;

// The kind of network whose delivery descriptor the NIT section carries first.
std::optional<PsiRenderer_NetworkType> DeliveryType(const uint8_t* data, uint32_t length) {
  CNitSection section;
  if (!section.Parse(data, length)) return std::nullopt;
  for (const NitTransportStream& ts : section.transport_streams) {
    for (const auto& descriptor : ts.descriptors) {
      switch (descriptor->tag) {
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
  CMemoryByteSource source(stream);
  CTsPacketReader packets(source);
  return Analyze(packets);
}

TransportStreamAnalysis CTransportStreamAnalyzer::Analyze(CTsPacketReader& stream) {
  Run(stream, Pass::Pat);
  m_Result.patComplete = m_Pat.IsComplete() != 0;
  if (m_Result.patComplete) {
    m_vPmtPids = m_Pat.PmtPids();
    m_pPmt->SetPrograms(m_Pat.ProgramNumbers());
    Run(stream, Pass::All);
    if (!m_bAtsc) {
      // No delivery descriptor anywhere: the kind of network changes nothing.
      if (!m_pNit && !m_mapPendingNit.empty()) CreateNitProcessor(PsiRenderer_NetworkType_Dvbt);
      ApplyCatPresence();
    }
  }
  m_Result.trailingBytes = stream.TrailingBytes();
  m_Result.packetSize = stream.PacketSize();
  m_Result.warnings = stream.Warnings();
  m_Result.pmtComplete = m_pPmt->IsComplete() != 0;
  m_Result.sdtComplete = m_Sdt.IsComplete() != 0;
  m_Result.nitComplete = m_pNit && m_pNit->IsComplete();
  m_Result.vctComplete = m_Vct.IsComplete() != 0;

  if (!stream.Error().empty())
    m_Result.error = stream.Error();
  else if (m_Result.packets == 0)
    m_Result.error = "not a transport stream: no packets found";
  else if (!m_Result.patComplete)
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

void CTransportStreamAnalyzer::Run(CTsPacketReader& stream, Pass pass) {
  m_Pass = pass;
  m_Result.packets = 0;
  Reset();
  if (!stream.Rewind()) return;
  ClearPids();
  if (pass == Pass::Pat) {
    AddPid(kPatPid);
  } else {
    for (uint16_t pid : m_vPmtPids) AddPid(pid);
    if (m_bAtsc) {
      AddPid(kPsipPid);
    } else {
      AddPid(kCatPid);
      AddPid(kNitPid);
      AddPid(kSdtPid);
    }
  }
  for (auto packets = stream.Next(); !packets.empty(); packets = stream.Next()) {
    for (size_t offset = 0; offset < packets.size(); offset += kChunk) {
      Append(packets.data() + offset, static_cast<uint32_t>(std::min(kChunk, packets.size() - offset)));
      ProcessBuffer();
      if (pass == Pass::Pat && m_Pat.IsComplete()) return;
    }
  }
}

void CTransportStreamAnalyzer::OnPacket(const uint8_t* packet, uint32_t size) {
  ++m_Result.packets;
  CPsiSectionSplitter::OnPacket(packet, size);
}

bool CTransportStreamAnalyzer::OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) {
  if (m_Pass == Pass::Pat) {
    if (pid == kPatPid && tableId == 0x00) m_Pat.ProcessSection(data, totalLength, pid, tableId);
    return true;
  }
  // Processor refusals are ignored, as in a channel search.
  if (tableId == 0x02 && std::find(m_vPmtPids.begin(), m_vPmtPids.end(), pid) != m_vPmtPids.end()) {
    m_pPmt->ProcessSection(data, totalLength, pid, tableId);
  } else if (m_bAtsc) {
    if (pid == kPsipPid && (tableId == 0xC8 || tableId == 0xC9)) m_Vct.ProcessSection(data, totalLength, pid, tableId);
  } else if (pid == kCatPid && tableId == 0x01) {
    m_Cat.ProcessSection(data, totalLength, pid, tableId);
  } else if (pid == kSdtPid && tableId == 0x42) {
    m_Sdt.ProcessSection(data, totalLength, pid, tableId);
  } else if (pid == kNitPid && tableId == 0x40) {
    OnNitSection(data, totalLength, pid, tableId);
  }
  return true;
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
    m_pNit->ProcessSection(section.data(), static_cast<uint32_t>(section.size()), kNitPid, 0x40);
  m_mapPendingNit.clear();
}

TransportStreamAnalysis AnalyzeTransportStreamFile(const std::string& path, bool atsc) {
  CInputFile file;
  TransportStreamAnalysis failed;
  if (!file.Open(path)) {
    failed.error = file.Error();
    return failed;
  }
  CTsPacketReader packets(file);
  TransportStreamAnalysis result = CTransportStreamAnalyzer(atsc).Analyze(packets);
  // The input's own errors name it already.
  if (!result.error.empty() && file.Error().empty()) result.error = path + ": " + result.error;
  return result;
}
