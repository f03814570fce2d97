#include "DSFilters/PsiRenderer/engine/TransportStreamEpgReader.h"

#include "psi/ts/TsPacketReader.h"

#include <algorithm>

#include "DSFilters/PsiRenderer/engine/EpgDvb.h"
#include "DSFilters/PsiRenderer/engine/RecordingReader.h"
#include "psi/PsiIds.h"
#include "psi/atsc/SttSection.h"
#include "psi/ts/ChunkSource.h"

using namespace psi;

namespace {
bool Contains(const std::vector<uint16_t>& pids, uint16_t pid) {
  return std::find(pids.begin(), pids.end(), pid) != pids.end();
}
}  // namespace

CTransportStreamEpgReader::CTransportStreamEpgReader(bool atsc)
    : m_bAtsc(atsc), m_Eit(m_pEvents, PsiRenderer_NetworkType_Dvbt), m_Mgt(PsiRenderer_NetworkType_Atsc) {
  m_Eit.SetTableIds(ActualEitTableIds());
  m_Eit.SetFollowVersions(true);
}

std::shared_ptr<CEpgEvents> CTransportStreamEpgReader::Read(std::span<const uint8_t> stream) {
  CRecordingReader reader;
  reader.Add(*this);
  CMemoryByteSource source(stream);
  CTsPacketReader packets(source);
  reader.Read(packets);
  return Finish();
}

std::shared_ptr<CEpgEvents> CTransportStreamEpgReader::Finish() {
  // An MGT never completed still names what it has.
  if (m_bAtsc && !m_bMgtKnown) OnMgtKnown();
  return m_pEvents;
}

void CTransportStreamEpgReader::Attach(ISectionPids& pids) {
  m_pPids = &pids;
  pids.AddPid(m_bAtsc ? kPsipPid : kEitPid);
}

bool CTransportStreamEpgReader::WantsUnknownPid(uint8_t tableId) const {
  return m_bAtsc && !m_bMgtKnown && (tableId == kAtscEitTableId || tableId == kEttTableId);
}

void CTransportStreamEpgReader::OnSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  if (!m_bAtsc) {
    if (pid == kEitPid && IsActualEit(tableId)) m_Eit.ProcessSection(data, length, pid, tableId);
  } else if (pid == kPsipPid) {
    OnPsipSection(data, length, pid, tableId);
  } else if (tableId == kAtscEitTableId || tableId == kEttTableId) {
    if (m_bMgtKnown)
      OnEventSection(data, length, pid, tableId);
    else
      m_Pending.Keep(data, length, pid, tableId);
  }
}

void CTransportStreamEpgReader::OnPsipSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  if (tableId == kSttTableId) {
    CSttSection stt;
    if (stt.ParseValidated(data, length)) m_AtscTables.SetGpsUtcOffset(stt.GPS_UTC_offset);
  } else if (tableId == kMgtTableId && !m_bMgtKnown) {
    m_Mgt.ProcessSection(data, length, pid, tableId);
    if (m_Mgt.IsComplete()) OnMgtKnown();
  }
}

void CTransportStreamEpgReader::OnMgtKnown() {
  m_bMgtKnown = true;
  m_vEitPids = m_Mgt.EitPids();
  m_vEttPids = m_Mgt.EttPids();
  for (uint16_t pid : m_vEitPids) m_pPids->AddPid(pid);
  for (uint16_t pid : m_vEttPids) m_pPids->AddPid(pid);
  m_Pending.Replay([this](const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
    OnEventSection(data, length, pid, tableId);
  });
}

void CTransportStreamEpgReader::OnEventSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) {
  const std::vector<uint16_t>& pids = tableId == kAtscEitTableId ? m_vEitPids : m_vEttPids;
  if (Contains(pids, pid)) m_AtscTables.ProcessSection(data, length, pid, tableId);
}
