#pragma once
// The host's LNB object: one low-noise block converter of the dish
// installation, at a DiSEqC position. The host creates and owns it; the
// plug-in reads only the getters.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

struct IKxLnb : IUnknown {
  DTV_DECLARE_IID("{B26E97F1-8A2C-4AD5-80DB-089FE176A949}");
  virtual HRESULT put_Name(BSTR bstrName) = 0;
  virtual HRESULT get_Name(BSTR* pbstrName) = 0;
  virtual HRESULT put_SatellitePosition(BSTR bstrPosition) = 0;
  virtual HRESULT get_SatellitePosition(BSTR* pbstrPosition) = 0;
  // 1 to 4: the DiSEqC positions.
  virtual HRESULT put_LnbPosition(LONG lPosition) = 0;
  virtual HRESULT get_LnbPosition(LONG* plPosition) = 0;
  // Oscillators and the switch frequency in kHz.
  virtual HRESULT put_HighOscillator(LONG lFrequency) = 0;
  virtual HRESULT get_HighOscillator(LONG* plFrequency) = 0;
  virtual HRESULT put_LowOscillator(LONG lFrequency) = 0;
  virtual HRESULT get_LowOscillator(LONG* plFrequency) = 0;
  virtual HRESULT put_LnbSwitch(LONG lFrequency) = 0;
  virtual HRESULT get_LnbSwitch(LONG* plFrequency) = 0;

 protected:
  ~IKxLnb() = default;
};
