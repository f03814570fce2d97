#include "DSFilters/PsiRenderer/TransportStreamEpgReader.h"

#include <algorithm>

#include "DSFilters/PsiRenderer/EpgDvb.h"
#include "DSFilters/PsiRenderer/PsiProcessorAtscEit.h"
#include "DSFilters/PsiRenderer/PsiProcessorAtscEtt.h"
#include "DSFilters/PsiRenderer/PsiProcessorEit.h"
#include "psi/atsc/SttSection.h"

namespace {
constexpr uint16_t kEitPid = 0x0012;
constexpr uint16_t kPsipPid = 0x1FFB;

bool IsActualEit(uint8_t tableId) { return tableId == 0x4E || (tableId >= 0x50 && tableId <= 0x5F); }

bool Contains(const std::vector<uint16_t>& pids, uint16_t pid) {
  return std::find(pids.begin(), pids.end(), pid) != pids.end();
}
}  // namespace

CTransportStreamEpgReader::CTransportStreamEpgReader(bool atsc)
    : m_bAtsc(atsc), m_Mgt(PsiRenderer_NetworkType_Atsc) {}

std::shared_ptr<CEpgEvents> CTransportStreamEpgReader::Read(std::span<const uint8_t> stream) {
  CMemoryByteSource source(stream);
  CTsPacketReader packets(source);
  return Read(packets);
}

std::shared_ptr<CEpgEvents> CTransportStreamEpgReader::Read(CTsPacketReader& stream) {
  if (m_bAtsc) {
    // The MGT first: it tells which PIDs carry the EITs and ETTs.
    AddPid(kPsipPid);
    Run(stream);
    m_vEitPids = m_Mgt.EitPids();
    m_vEttPids = m_Mgt.EttPids();
    ClearPids();
    for (uint16_t pid : m_vEitPids) AddPid(pid);
    for (uint16_t pid : m_vEttPids) AddPid(pid);
  } else {
    AddPid(kEitPid);
  }
  Run(stream);
  return m_pEvents;
}

void CTransportStreamEpgReader::Run(CTsPacketReader& stream) {
  Reset();
  if (!stream.Rewind()) return;
  for (auto packets = stream.Next(); !packets.empty(); packets = stream.Next()) {
    Append(packets.data(), static_cast<uint32_t>(packets.size()));
    ProcessBuffer();
  }
}

bool CTransportStreamEpgReader::OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) {
  if (!m_bAtsc) {
    if (pid == kEitPid && IsActualEit(tableId)) {
      CPsiProcessorEit eit(m_pEvents, PsiRenderer_NetworkType_Dvbt);
      eit.SetTableIds(ActualEitTableIds());
      eit.ProcessSection(data, totalLength, pid, tableId);
    }
  } else if (pid == kPsipPid) {
    if (tableId == 0xC7) m_Mgt.ProcessSection(data, totalLength, pid, tableId);
    CSttSection stt;
    if (tableId == 0xCD && stt.Parse(data, totalLength)) m_nGpsUtcOffset = stt.GPS_UTC_offset;
  } else if (tableId == 0xCB && Contains(m_vEitPids, pid)) {
    CPsiProcessorAtscEit eit(m_pEvents, PsiRenderer_NetworkType_Atsc);
    eit.SetGpsUtcOffset(m_nGpsUtcOffset);
    eit.ProcessSection(data, totalLength, pid, tableId);
  } else if (tableId == 0xCC && Contains(m_vEttPids, pid)) {
    CPsiProcessorAtscEtt ett(m_pEvents, PsiRenderer_NetworkType_Atsc);
    ett.ProcessSection(data, totalLength, pid, tableId);
  }
  return true;
}
