#pragma once
// The host's view of the multiplex a graph is tuned to.
#include "platform/com/Unknown.h"

struct IKxTransponderInfo : IUnknown {
  DTV_DECLARE_IID("{A10B3C31-CBCF-4EDF-9ECC-C776421948F3}");
  virtual HRESULT get_Frequency(LONG* plFreq) = 0;
  virtual HRESULT get_Polarisation(LONG* plPol) = 0;
  virtual HRESULT get_SymbolRate(LONG* plSr) = 0;
  virtual HRESULT get_Satellite(LONG* plSat) = 0;
  virtual HRESULT get_IsDvbS2(VARIANT_BOOL* pbDvbS2) = 0;

 protected:
  ~IKxTransponderInfo() = default;
};
