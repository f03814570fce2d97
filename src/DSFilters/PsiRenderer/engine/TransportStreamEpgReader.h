#pragma once
// Reads the EPG of a recorded transport stream: the EIT of the actual
// transport stream (ATSC: every EIT and ETT the MGT announces). Its tables
// live for the whole recording and take every new table version, so a long
// recording keeps the events of every version. ATSC event sections that come
// before the MGT are kept until it names their PIDs.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "DSFilters/PsiRenderer/engine/AtscEventTables.h"
#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/PendingSections.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorEit.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorMgt.h"
#include "DSFilters/PsiRenderer/engine/SectionCollector.h"

class CTransportStreamEpgReader : public ISectionCollector {
 public:
  explicit CTransportStreamEpgReader(bool atsc);

  // The events of a whole stream held in memory, in event-list order.
  std::shared_ptr<CEpgEvents> Read(std::span<const uint8_t> stream);
  // The events once a CRecordingReader has read a recording with this collector added.
  std::shared_ptr<CEpgEvents> Finish();

  void Attach(ISectionPids& pids) override;
  void OnSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) override;
  bool WantsUnknownPid(uint8_t tableId) const override;

 private:
  void OnPsipSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId);
  void OnMgtKnown();
  void OnEventSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId);

  const bool m_bAtsc;
  const std::shared_ptr<CEpgEvents> m_pEvents = std::make_shared<CEpgEvents>();
  ISectionPids* m_pPids = nullptr;
  CPsiProcessorEit m_Eit;
  CPsiProcessorMgt m_Mgt;
  bool m_bMgtKnown = false;
  CPendingSections m_Pending;
  std::vector<uint16_t> m_vEitPids;
  std::vector<uint16_t> m_vEttPids;
  CAtscEventTables m_AtscTables{m_pEvents, true};
};
