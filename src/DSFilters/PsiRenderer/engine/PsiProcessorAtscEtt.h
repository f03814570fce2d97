#pragma once
// Gives an ATSC event its extended text from one complete ETT.
#include <memory>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorBase.h"
#include "psi/atsc/Ett.h"

class CPsiProcessorAtscEtt : public CPsiProcessorBase {
 public:
  CPsiProcessorAtscEtt(std::shared_ptr<CEpgEvents> events, PsiRenderer_NetworkType networkType)
      : CPsiProcessorBase(networkType), m_pEvents(std::move(events)) {}

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
  int IsComplete() override { return m_Ett.IsComplete() ? 1 : 0; }
  void Reset() override { m_Ett.Reset(); }
  // With follow, a new version of the text replaces the old one (a long-running reader).
  void SetFollowVersions(bool follow) { m_bFollowVersions = follow; }

 private:
  const std::shared_ptr<CEpgEvents> m_pEvents;
  CEtt m_Ett;
  bool m_bFollowVersions = false;
};
