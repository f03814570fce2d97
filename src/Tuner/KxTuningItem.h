#pragma once
// One tuning item: the eight KxTuningItemProperty_* values of a record.
#include <map>
#include <string>

#include "Tuner/KxTuningParam.h"
#include "interfaces/IKxTuningData.h"
#include "platform/com/ComObject.h"

class CKxTuningItem : public IKxTuningItem {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTuningItem>;

  HRESULT Initialize(const KxTuningParam& param);

  HRESULT get_Property(BSTR bstrName, VARIANT* pvarValue) override;

  virtual ~CKxTuningItem() = default;

 private:
  std::map<std::u16string, Variant, std::less<>> m_props;
};
