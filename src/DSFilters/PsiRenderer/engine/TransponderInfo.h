#pragma once
// Learns the current transponder's delivery data from the NIT entry of the
// transport stream the PAT names, of the original network the SDT names. Its
// worker wakes when a PAT, SDT or NIT arrives.
#include <cstdint>
#include <map>
#include <vector>
#include "DSFilters/PsiRenderer/engine/PsiReaderSimpleThread.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "DSFilters/PsiRenderer/engine/SectionSubscription.h"

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
  explicit CTransponderInfo(CPsiRendererSplitter& splitter);
  ~CTransponderInfo() override { Stop(); }

  TransponderValues Values() const;
  // Restores the initial values.
  void Clear();
  // Takes the sections that arrived since the last step (the worker's step, public for tests).
  void ProcessPendingSections();
  // Takes one section into the values (a worker step, public for tests).
  void ProcessSection(const PsiSectionRecord& section);

 protected:
  void ThreadProc() override;

 private:
  void EvaluateNit(const std::vector<uint8_t>& section);
  void EvaluateStoredNit();

  CSectionSubscription m_Sections;
  mutable RecursiveLock m_lock;
  TransponderValues m_Values;
  int32_t m_nOriginalNetworkId = -1;  // from the SDT actual
  // The newest NIT section per section_number: a NIT that came before the PAT is read once the PAT is known.
  std::map<uint8_t, std::vector<uint8_t>> m_mapNit;
};
