#pragma once
#include "interfaces/IKxLnb.h"
#include "platform/com/ComObject.h"

// The host's LNB object: only the position matters to the graph manager.
class CTestLnb : public IKxLnb {
 public:
  using InterfaceMap = ::InterfaceMap<IKxLnb>;
  virtual ~CTestLnb() = default;
  HRESULT put_Name(BSTR) override { return S_OK; }
  HRESULT get_Name(BSTR*) override { return E_NOTIMPL; }
  HRESULT put_SatellitePosition(BSTR) override { return S_OK; }
  HRESULT get_SatellitePosition(BSTR*) override { return E_NOTIMPL; }
  HRESULT put_LnbPosition(LONG position) override {
    m_position = position;
    return S_OK;
  }
  HRESULT get_LnbPosition(LONG* position) override {
    if (m_failing) return E_UNEXPECTED;
    *position = m_position;
    return S_OK;
  }
  HRESULT put_HighOscillator(LONG) override { return S_OK; }
  HRESULT get_HighOscillator(LONG*) override { return E_NOTIMPL; }
  HRESULT put_LowOscillator(LONG) override { return S_OK; }
  HRESULT get_LowOscillator(LONG*) override { return E_NOTIMPL; }
  HRESULT put_LnbSwitch(LONG) override { return S_OK; }
  HRESULT get_LnbSwitch(LONG*) override { return E_NOTIMPL; }
  bool m_failing = false;

 private:
  LONG m_position = 0;
};

inline ComPtr<ComObject<CTestLnb>> Lnb(LONG position) {
  auto lnb = ComObject<CTestLnb>::Make();
  lnb->put_LnbPosition(position);
  return lnb;
}

