#pragma once
// The host's LNB object: a universal LNB at a DiSEqC position.
#include "interfaces/IKxLnb.h"
#include "platform/com/ComObject.h"

class CTestLnb : public IKxLnb {
 public:
  using InterfaceMap = ::InterfaceMap<IKxLnb>;
  CTestLnb(LONG position, std::u16string satellite) : m_position(position), m_satellite(std::move(satellite)) {}
  virtual ~CTestLnb() = default;

  HRESULT put_Name(BSTR) override { return S_OK; }
  HRESULT get_Name(BSTR* name) override { return AllocOutString(u"LNB", name); }
  HRESULT put_SatellitePosition(BSTR position) override {
    m_satellite = std::u16string(position, SysStringLen(position));
    return S_OK;
  }
  HRESULT get_SatellitePosition(BSTR* position) override { return AllocOutString(m_satellite, position); }
  HRESULT put_LnbPosition(LONG position) override { return Put(m_position, position); }
  HRESULT get_LnbPosition(LONG* position) override { return Get(m_position, position); }
  HRESULT put_HighOscillator(LONG khz) override { return Put(m_high, khz); }
  HRESULT get_HighOscillator(LONG* khz) override { return Get(m_high, khz); }
  HRESULT put_LowOscillator(LONG khz) override { return Put(m_low, khz); }
  HRESULT get_LowOscillator(LONG* khz) override { return Get(m_low, khz); }
  HRESULT put_LnbSwitch(LONG khz) override { return Put(m_switch, khz); }
  HRESULT get_LnbSwitch(LONG* khz) override { return Get(m_switch, khz); }

 private:
  static HRESULT Put(LONG& field, LONG value) {
    field = value;
    return S_OK;
  }
  static HRESULT Get(LONG field, LONG* out) {
    if (!out) return E_POINTER;
    *out = field;
    return S_OK;
  }
  LONG m_position;
  std::u16string m_satellite;
  LONG m_high = 10600000, m_low = 9750000, m_switch = 11700000;
};
