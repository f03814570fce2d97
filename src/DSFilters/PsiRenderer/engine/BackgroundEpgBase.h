#pragma once
// Background EPG: while a channel is watched, reads the event tables at idle
// priority and hands each batch of events not delivered before to the sink.
#include <atomic>
#include <memory>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/EpgEventsSink.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "DSFilters/PsiRenderer/engine/ScanThread.h"
#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"

class CBackgroundEpgBase : public CScanThread {
 public:
  CBackgroundEpgBase(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
      : m_Sections(splitter), m_NetworkType(networkType) {}

  void SetSink(IEpgEventsSink* sink) { m_pSink = sink; }
  std::shared_ptr<CEpgEvents> GetEvents() const { return m_pEvents; }

 protected:
  // Hands the events not delivered before to the sink, if there are any.
  void Deliver(const char* message);

  // Waits up to ms for a section; true when a stop request ended the wait.
  bool WaitSection(uint32_t ms) { return WaitStopOr(m_Sections.Arrived(), ms); }

  CSectionSubscription m_Sections;
  const PsiRenderer_NetworkType m_NetworkType;
  const std::shared_ptr<CEpgEvents> m_pEvents = std::make_shared<CEpgEvents>();
  static constexpr uint32_t kPollMs = 2000;

 private:
  std::atomic<IEpgEventsSink*> m_pSink{nullptr};
};
