#pragma once
// Learns the scrambling state of every service (SDT free_CA_mode) and the
// newest PMT section of every program (PAT, PMT), for conditional access.
// Its worker wakes when one of its sections arrives.
#include <cstdint>
#include <map>
#include <vector>
#include "DSFilters/PsiRenderer/engine/PsiReaderSimpleThread.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"

class CCAManager : public CPsiReaderSimpleThread {
 public:
  enum ScramblingState : int32_t { kUnknown = 0, kScrambled = 1, kClear = 2 };

  explicit CCAManager(CPsiRendererSplitter& splitter);
  ~CCAManager() override { Stop(); }

  ScramblingState GetScramblingState(uint16_t serviceId) const;
  // Empty when no PMT of this program was stored.
  std::vector<uint8_t> GetPmt(uint16_t programNumber) const;
  // Forgets everything learnt and reads PAT and SDT again (a new stream).
  void Clear();

  // Takes the sections that arrived since the last step (the worker's step, public for tests).
  void ProcessPendingSections();
  // Takes one section into the maps (a worker step, public for tests).
  void ProcessSection(const PsiSectionRecord& section);

 protected:
  void ThreadProc() override;

 private:
  void AddDefaultFilters();

  CSectionSubscription m_Sections;
  mutable RecursiveLock m_lock;
  std::map<uint16_t, uint8_t> m_mapScrambling;          // service_id -> free_CA_mode
  std::map<uint16_t, uint16_t> m_mapPrograms;           // program_number -> PMT PID
  std::map<uint16_t, std::vector<uint8_t>> m_mapPmts;   // program_number -> PMT section
};
