#pragma once
// Learns, by peeking at the splitter, the scrambling state of every service
// (SDT free_CA_mode) and the newest PMT section of every program (PAT, PMT),
// for conditional access.
#include <cstdint>
#include <map>
#include <vector>
#include "DSFilters/PsiRenderer/PsiReaderSimpleThread.h"
#include "DSFilters/PsiRenderer/PsiRendererSplitter.h"

class CCAManager : public CPsiReaderSimpleThread {
 public:
  enum ScramblingState : int32_t { kUnknown = 0, kScrambled = 1, kClear = 2 };

  explicit CCAManager(CPsiRendererSplitter& splitter) : m_Splitter(splitter) {}
  ~CCAManager() override { Stop(); }

  ScramblingState GetScramblingState(uint16_t serviceId) const;
  // Empty when no PMT of this program was stored.
  std::vector<uint8_t> GetPmt(uint16_t programNumber) const;
  void Clear();

  // Takes one section into the maps (a worker step, public for the owner's reset path and tests).
  void ProcessSection(const PsiSectionRecord& section);
  // Whether the worker still has use for a section of this table_id.
  bool Wants(uint8_t tableId) const;

 protected:
  void ThreadProc() override;

 private:
  CPsiRendererSplitter& m_Splitter;
  mutable RecursiveLock m_lock;
  std::map<uint16_t, uint8_t> m_mapScrambling;          // service_id -> free_CA_mode
  std::map<uint16_t, uint16_t> m_mapPrograms;           // program_number -> PMT PID
  std::map<uint16_t, std::vector<uint8_t>> m_mapPmts;   // program_number -> PMT section
};
