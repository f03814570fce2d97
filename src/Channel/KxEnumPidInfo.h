#pragma once
// Enumerator over a snapshot of PID information objects; keeps its owner alive.
#include <vector>

#include "interfaces/IKxPidInfo.h"
#include "platform/com/ComObject.h"

class CKxEnumPidInfo : public IKxEnumPidInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxEnumPidInfo>;

  CKxEnumPidInfo(IUnknown* pOwner, std::vector<ComPtr<IKxPidInfo>> items, size_t position = 0);
  virtual ~CKxEnumPidInfo() = default;

  HRESULT Next(ULONG celt, IKxPidInfo** rgelt, ULONG* pceltFetched) override;
  HRESULT Skip(ULONG celt) override;
  HRESULT Reset() override;
  HRESULT Clone(IKxEnumPidInfo** ppEnum) override;

 private:
  ComPtr<IUnknown> m_owner;
  std::vector<ComPtr<IKxPidInfo>> m_items;
  size_t m_position;
};
