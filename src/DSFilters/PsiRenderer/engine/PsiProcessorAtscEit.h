#pragma once
// Turns one complete ATSC EIT (the events of one source) into EPG events.
#include <memory>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorBase.h"
#include "psi/atsc/EitAtsc.h"
#include "psi/atsc/GpsTime.h"

class CPsiProcessorAtscEit : public CPsiProcessorBase {
 public:
  CPsiProcessorAtscEit(std::shared_ptr<CEpgEvents> events, PsiRenderer_NetworkType networkType)
      : CPsiProcessorBase(networkType), m_pEvents(std::move(events)) {}

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
  int IsComplete() override { return m_Eit.IsComplete() ? 1 : 0; }
  void Reset() override { m_Eit.Reset(); }
  // The leap seconds from the stream's System Time Table.
  void SetGpsUtcOffset(int offset) { m_nGpsUtcOffset = offset; }
  // With follow, a new version of a section starts the table over (a long-running reader).
  void SetFollowVersions(bool follow) { m_bFollowVersions = follow; }

 private:
  const std::shared_ptr<CEpgEvents> m_pEvents;
  CEitAtsc m_Eit;
  int m_nGpsUtcOffset = kDefaultGpsUtcOffset;
  bool m_bFollowVersions = false;
};
