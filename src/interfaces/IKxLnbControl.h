#pragma once
// The LNBs a satellite graph manager tunes through, in the order the host
// added them. Not locked: the host must not change the list while a channel
// switch or a channel search reads it.
#include "interfaces/IKxLnb.h"
#include "platform/com/Unknown.h"

struct IKxLnbControl : IUnknown {
  DTV_DECLARE_IID("{6F86640A-501A-4A5A-A70E-7056654EF0D7}");
  virtual HRESULT put_LnbControlValue(LONG lValue) = 0;
  virtual HRESULT AddLnb(IKxLnb* pLnb) = 0;
  virtual HRESULT get_LnbByIndex(LONG lIndex, IKxLnb** ppLnb) = 0;
  virtual HRESULT get_LnbCount(LONG* plCount) = 0;
  // Kept for its slot; answers E_NOTIMPL.
  virtual HRESULT ReservedLnbOperation(LONG lFirst, LONG lSecond) = 0;
  // Removes the first LNB at the given LNB's position.
  virtual HRESULT RemoveLnb(IKxLnb* pLnb) = 0;
  virtual HRESULT RemoveLnbByIndex(LONG lIndex) = 0;

 protected:
  ~IKxLnbControl() = default;
};
