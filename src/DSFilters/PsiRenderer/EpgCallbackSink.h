#pragma once
// Hands the background EPG's new events to the host's callback as a snapshot
// object; the callback may be set while no background EPG runs.
#include <atomic>

#include "DSFilters/PsiRenderer/EpgCallback.h"
#include "DSFilters/PsiRenderer/engine/EpgEventsSink.h"

class CEpgCallbackSink : public IEpgEventsSink {
 public:
  explicit CEpgCallbackSink(IEpgCallback* callback = nullptr) : m_pCallback(callback) {}

  void SetCallback(IEpgCallback* callback) { m_pCallback = callback; }
  bool DeliverNew(CEpgEvents& events) override;

 private:
  std::atomic<IEpgCallback*> m_pCallback;
};
