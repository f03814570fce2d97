#pragma once
// The physical parameters of the multiplex a graph is tuned to, as the
// network information told them; set once at creation.
#include "interfaces/IKxTransponderInfo.h"
#include "platform/com/ComObject.h"

class CKxTransponderInfo : public IKxTransponderInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTransponderInfo>;

  CKxTransponderInfo(LONG lFreq, LONG lPol, LONG lSr, LONG lSat, VARIANT_BOOL bDvbS2);

  static HRESULT CreateInstance(LONG lFreq, LONG lPol, LONG lSr, LONG lSat, VARIANT_BOOL bDvbS2,
                                IKxTransponderInfo** ppVal);

  HRESULT get_Frequency(LONG* plFreq) override;
  HRESULT get_Polarisation(LONG* plPol) override;
  HRESULT get_SymbolRate(LONG* plSr) override;
  HRESULT get_Satellite(LONG* plSat) override;
  HRESULT get_IsDvbS2(VARIANT_BOOL* pbDvbS2) override;

  virtual ~CKxTransponderInfo() = default;

 private:
  const LONG m_lFreq;
  const LONG m_lPol;
  const LONG m_lSr;
  const LONG m_lSat;
  const VARIANT_BOOL m_bDvbS2;
};
