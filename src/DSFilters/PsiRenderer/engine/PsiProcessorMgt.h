#pragma once
// Reads the ATSC master guide table: which PIDs carry the EITs and ETTs.
#include <cstdint>
#include <vector>

#include "DSFilters/PsiRenderer/engine/PsiProcessorBase.h"
#include "psi/atsc/Mgt.h"

class CPsiProcessorMgt : public CPsiProcessorBase {
 public:
  using CPsiProcessorBase::CPsiProcessorBase;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
  int IsComplete() override { return m_Mgt.IsComplete() ? 1 : 0; }
  void Reset() override;

  const std::vector<uint16_t>& EitPids() const { return m_vEitPids; }
  const std::vector<uint16_t>& EttPids() const { return m_vEttPids; }

 private:
  CMgt m_Mgt;
  std::vector<uint16_t> m_vEitPids;
  std::vector<uint16_t> m_vEttPids;
};
