#pragma once
// Learns the current transponder's delivery data from the NIT entry of the
// transport stream the PAT names, by peeking at the splitter.
#include <cstdint>
#include "DSFilters/PsiRenderer/PsiReaderSimpleThread.h"
#include "DSFilters/PsiRenderer/PsiRendererSplitter.h"

struct TransponderValues {
  int32_t frequency = -1;          // kHz (terrestrial: 10 Hz units as carried)
  int32_t symbolRate = -1;
  int32_t polarisation = -1;       // polarization + 1
  int32_t dvbS2 = 0;
  int32_t orbitalPosition = -1;    // tenths of a degree
  int32_t transportStreamId = -1;
};

class CTransponderInfo : public CPsiReaderSimpleThread {
 public:
  explicit CTransponderInfo(CPsiRendererSplitter& splitter) : m_Splitter(splitter) {}
  ~CTransponderInfo() override { Stop(); }

  TransponderValues Values() const;
  // Restores the initial values.
  void Clear();
  // Takes one section into the values (a worker step, public for tests).
  void ProcessSection(const PsiSectionRecord& section);

 protected:
  void ThreadProc() override;

 private:
  CPsiRendererSplitter& m_Splitter;
  mutable RecursiveLock m_lock;
  TransponderValues m_Values;
};
