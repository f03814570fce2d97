#pragma once
// A snapshot of the announced transponders: copies taken at creation.
#include <memory>
#include <vector>
#include "DSFilters/PsiRenderer/engine/TransponderFrequencies.h"
#include "interfaces/IChannel.h"
#include "platform/com/ComObject.h"

class CTransponderFrequenciesCOM : public ITransponderFrequencies {
 public:
  using InterfaceMap = ::InterfaceMap<ITransponderFrequencies>;

  explicit CTransponderFrequenciesCOM(std::vector<CTransponderFrequency> records);
  virtual ~CTransponderFrequenciesCOM();

  // A missing list gives an empty snapshot.
  static HRESULT CreateInstance(const std::shared_ptr<CTransponderFrequencies>& frequencies,
                                ITransponderFrequencies** ppObj);

  HRESULT get_Count(LONG* plCount) override;
  HRESULT get_Item(LONG lIndex, ITransponderFrequency** ppItem) override;

  const std::vector<CTransponderFrequency> m_vec;
};
