#pragma once
// An LNB of the dish as the user gives it with --lnb
// POS:SAT:LOW:HIGH:SWITCH: DiSEqC position 1 to 4, the satellite's orbital
// position ("192E"; empty for a blind search), the oscillators and the switch
// frequency in MHz.
#include <optional>
#include <string>

#include "interfaces/IKxLnb.h"
#include "platform/com/ComObject.h"

struct LnbSetting {
  LONG position = 1;
  std::string satellite;
  LONG lowKHz = 0, highKHz = 0, switchKHz = 0;
};

// Nullopt with error naming what is wrong.
std::optional<LnbSetting> ParseLnb(const std::string& text, std::string& error);

class CHostLnb : public IKxLnb {
 public:
  using InterfaceMap = ::InterfaceMap<IKxLnb>;
  explicit CHostLnb(const LnbSetting& setting);
  virtual ~CHostLnb() = default;

  HRESULT put_Name(BSTR name) override;
  HRESULT get_Name(BSTR* name) override { return AllocOutString(m_name, name); }
  HRESULT put_SatellitePosition(BSTR position) override;
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
  static HRESULT Put(LONG& field, LONG value);
  static HRESULT Get(LONG field, LONG* out);

  std::u16string m_name;
  std::u16string m_satellite;
  LONG m_position, m_low, m_high, m_switch;
};
