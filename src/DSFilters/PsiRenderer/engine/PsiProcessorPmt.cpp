#include "DSFilters/PsiRenderer/engine/PsiProcessorPmt.h"

#include "logging/LogFile.h"
#include "psi/ts/PsiSection.h"

int CPsiProcessorPmt::ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  // The program_number is read from the header: a repeat is never parsed.
  CPsiSection header;
  if (!header.ParseValidated(data, length)) return 0;
  const uint16_t programNumber = ReadUInt16At(data + 3);
  const auto found = m_mapPmts.find(programNumber);
  if (found == m_mapPmts.end()) return 0;
  CPmt& pmt = *found->second;
  if (pmt.IsComplete()) return 1;
  if (pmt.AddValidSection(data, length, pid, tableId) == TableAddResult::Invalid) return 0;
  if (!pmt.IsComplete()) return 1;

  AutoLock lock(m_pChannels->Lock());
  const auto channel = m_pChannels->FindByProgramNumber(programNumber);
  if (!channel) return 1;
  channel->m_nPcrPid = pmt.pcr_pid;
  log(5, "CPsiProcessorPmtDvb::ProcessSection() Set PCRID: 0x%04x", pmt.pcr_pid);
  EvaluateStreams(pmt, *channel, static_cast<uint16_t>(pid));
  return 1;
}

int CPsiProcessorPmt::IsComplete() {
  if (m_mapPmts.empty()) return 0;
  for (const auto& [program, pmt] : m_mapPmts)
    if (!pmt->IsComplete()) return 0;
  return 1;
}

void CPsiProcessorPmt::SetPrograms(const std::vector<uint16_t>& programNumbers) {
  m_mapPmts.clear();
  for (uint16_t program : programNumbers) m_mapPmts[program] = CreateTable();
}

void CPsiProcessorPmt::AddStream(CChannel& channel, AudioMap& audio, const PmtStream& stream, const StreamKind& kind) {
  if (kind.classification == PsiRenderer_StreamType_Audio) {
    AudioRecord& entry = AudioEntry(audio, stream.elementary_pid);
    entry.type = stream.stream_type;
    entry.ac3 = kind.ac3;
  }
  channel.m_vPids.push_back({stream.elementary_pid, stream.stream_type, kind.classification, kind.codec});
  log(5, "CPsiProcessorPmtDvb::ProcessSection() added pid: 0x%x, stream_type: %d, PsiRenderer_StreamType: %d",
      stream.elementary_pid, stream.stream_type, kind.classification);
}

void CPsiProcessorPmt::AddAudioRecords(CChannel& channel, const AudioMap& audio) {
  for (const auto& [pid, record] : audio) channel.m_vAudio.push_back(record);
}
