#include "DSFilters/PsiRenderer/engine/PsiProcessorPat.h"

#include "logging/LogFile.h"

int CPsiProcessorPat::ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) {
  return ProcessTableSection(m_Pat, data, length, pid, tableId);
}

void CPsiProcessorPat::Reset() {
  m_Pat.Reset();
  m_vPmtPids.clear();
  m_vProgramNumbers.clear();
}

void CPsiProcessorPat::Evaluate() {
  for (const PatProgram& program : m_Pat.programs) {
    if (program.program_number == 0) continue;
    m_vPmtPids.push_back(program.pid);
    m_vProgramNumbers.push_back(program.program_number);
    auto channel = m_pChannels->CreateChannel(program.program_number);
    channel->m_nTransportStreamId = m_Pat.transport_stream_id;
    channel->m_nPmtPid = program.pid;
    log(5, "CPsiProcessorPat::ProcessSection(): Created channel prog_num: %d, ts_id: %d", program.program_number,
        m_Pat.transport_stream_id);
  }
}
