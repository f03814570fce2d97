#pragma once
// A snapshot of one tuning-data group: later merges do not change it.
#include <vector>

#include "Tuner/KxTuningParam.h"
#include "interfaces/IKxTuningData.h"
#include "platform/com/ComObject.h"

class CKxTuningItemList : public IKxTuningItemList {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuningItemList>;

  HRESULT Initialize(const std::vector<KxTuningParam>& vec);

  HRESULT get_Count(LONG* plCount) override;
  HRESULT get_ItemByIndex(LONG lIndex, IKxTuningItem** ppItem) override;

  virtual ~CKxTuningItemList() = default;

 private:
  std::vector<KxTuningParam> m_vec;
};
