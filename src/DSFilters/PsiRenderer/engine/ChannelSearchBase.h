#pragma once
// A channel search: a worker that polls the splitter for the PSI of the
// current transport stream and builds its channel list. Started after each
// tune, polled for completion, stopped, then read.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>
#include "DSFilters/PsiRenderer/engine/Channels.h"
#include "DSFilters/PsiRenderer/engine/PsiProcessorPat.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "DSFilters/PsiRenderer/engine/ScanThread.h"
#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"
#include "DSFilters/PsiRenderer/engine/TransponderFrequencies.h"

class CChannelSearchBase : public CScanThread {
 public:
  static constexpr uint32_t kFlagNitRequired = 2;

  CChannelSearchBase(CPsiRendererSplitter& splitter, PsiRenderer_NetworkType networkType);

  virtual int IsCompleted() { return m_nCompleted.load(); }
  virtual std::shared_ptr<CChannels> GetChannels() { return m_pChannels; }
  // Empty unless the search reads a NIT.
  virtual std::shared_ptr<CTransponderFrequencies> GetTransponderFrequencies() { return m_pEmptyFrequencies; }
  virtual void Reset();

  // Stops a running search, resets and starts it; false when no thread could be made.
  bool StartChannelScan(uint32_t flags);
  void StopChannelScan() { Stop(); }

 protected:
  // Reads the PAT into the PAT processor; false on time-out or stop request.
  // level: log level of the PAT messages.
  bool ReadPat(CPsiProcessorPat& pat, int level);
  void SetCompleted() { m_nCompleted = 1; }
  uint32_t Flags() const { return m_nFlags.load(); }
  // Milliseconds since t0, wrapping like the tick count.
  static uint32_t Since(uint32_t t0);
  // Waits up to ms for a section; true when a stop request ended the wait.
  bool WaitSection(uint32_t ms) { return WaitStopOr(m_Sections.Arrived(), ms); }

  CSectionSubscription m_Sections;
  const std::shared_ptr<CChannels> m_pChannels = std::make_shared<CChannels>();
  const PsiRenderer_NetworkType m_NetworkType;

 private:
  const std::shared_ptr<CTransponderFrequencies> m_pEmptyFrequencies = std::make_shared<CTransponderFrequencies>();
  std::atomic<int> m_nCompleted{0};
  std::atomic<uint32_t> m_nFlags{0};
};
