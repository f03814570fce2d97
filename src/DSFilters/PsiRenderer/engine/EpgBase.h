#pragma once
// Foreground EPG collection: a worker that polls the splitter for event
// tables and fills its event list until stopped.
#include <atomic>
#include <memory>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "DSFilters/PsiRenderer/engine/ScanThread.h"
#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"

class CEpgBase : public CScanThread {
 public:
  CEpgBase(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType)
      : m_Sections(splitter), m_NetworkType(networkType) {}

  // Clears the events and the completed flag.
  virtual void Reset();
  std::shared_ptr<CEpgEvents> GetEvents() const { return m_pEvents; }
  int IsCompleted() const { return m_nCompleted.load(); }

 protected:
  void SetCompleted() { m_nCompleted = 1; }

  // Waits up to ms for a section; true when a stop request ended the wait.
  bool WaitSection(uint32_t ms) { return WaitStopOr(m_Sections.Arrived(), ms); }

  CSectionSubscription m_Sections;
  const PsiRenderer_NetworkType m_NetworkType;
  const std::shared_ptr<CEpgEvents> m_pEvents = std::make_shared<CEpgEvents>();

 private:
  std::atomic<int> m_nCompleted{0};
};
