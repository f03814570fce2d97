#pragma once
// A processor owns one table, feeds it the sections its owner hands over and,
// once the table is complete, writes what it says into its target. It runs
// only on its owner's thread.
#include <cstdint>
#include <memory>
#include <utility>
#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "DSFilters/PsiRenderer/engine/TransponderFrequencies.h"

class CPsiProcessorBase {
 public:
  explicit CPsiProcessorBase(PsiRenderer_NetworkType networkType,
                             std::shared_ptr<CTransponderFrequencies> frequencies = nullptr)
      : m_NetworkType(networkType), m_pFrequencies(std::move(frequencies)) {}
  virtual ~CPsiProcessorBase() = default;

  // 1 when the section was taken or ignored without error, 0 when the table refused it.
  virtual int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) = 0;
  virtual int IsComplete() = 0;
  virtual void Reset() = 0;

 protected:
  const PsiRenderer_NetworkType m_NetworkType;
  const std::shared_ptr<CTransponderFrequencies> m_pFrequencies;  // only for the NIT of a DVB search
};
