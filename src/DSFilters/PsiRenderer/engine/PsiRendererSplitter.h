#pragma once
// Assembles the sections of the PIDs its subscriptions ask for from the
// transport stream samples and hands every section to each subscription that
// wants it. The PIDs assembled are the union of the subscriptions' PIDs, so
// starting or stopping one collector never blinds another.
#include <cstdint>
#include <vector>

#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"
#include "platform/sync/RecursiveLock.h"
#include "psi/ts/PsiSectionSplitter.h"

class CPsiRendererSplitter : private CPsiSectionSplitter {
 public:
  // Drops the buffered stream bytes, the sections under assembly and every
  // kept section (a new stream); the subscriptions keep their filters.
  void Reset() override;
  // Bytes of a packet cut at the sample's end are kept for the next sample.
  void PushSample(const uint8_t* data, uint32_t length);

 private:
  friend class CSectionSubscription;

  void Attach(CSectionSubscription& subscription);
  void Detach(CSectionSubscription& subscription);
  // Runs change on the subscription's filters, then assembles exactly the PIDs still wanted.
  template <typename TChange>
  void ChangeFilters(CSectionSubscription& subscription, TChange change) {
    AutoLock lock(m_lock);
    {
      std::lock_guard filters(subscription.m_lock);
      change();
    }
    UpdatePids();
  }
  void UpdatePids();

  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override;

  mutable RecursiveLock m_lock;
  std::vector<CSectionSubscription*> m_vSubscriptions;
};
