#pragma once
// A copied list of strings handed to the host (the group names of tuning data).
#include <string>
#include <vector>

#include "interfaces/IKxTuningData.h"
#include "platform/com/ComObject.h"

class CKxStringList : public IKxStringList {
 public:
  using InterfaceMap = ::InterfaceMap<IKxStringList>;

  HRESULT Initialize(const std::vector<std::u16string>& vec);

  HRESULT get_Count(LONG* plCount) override;
  HRESULT get_StringByIndex(LONG lIndex, BSTR* pbstrString) override;

  virtual ~CKxStringList() = default;

 private:
  std::vector<std::u16string> m_vec;
};
