#pragma once
// A snapshot of one announced transponder.
#include "DSFilters/PsiRenderer/engine/TransponderFrequency.h"
#include "interfaces/IChannel.h"
#include "platform/com/ComObject.h"

class CTransponderFrequencyCOM : public CTransponderFrequency, public ITransponderFrequency {
 public:
  using InterfaceMap = ::InterfaceMap<ITransponderFrequency>;

  explicit CTransponderFrequencyCOM(const CTransponderFrequency& record);
  virtual ~CTransponderFrequencyCOM();

  static HRESULT CreateInstance(const CTransponderFrequency& record, ITransponderFrequency** ppObj);

  HRESULT get_CarrierFrequency(LONG* plFrequency) override;
  HRESULT get_SymbolRate(LONG* plSymbolRate) override;
  HRESULT get_Modulation(LONG* plModulation) override;
  HRESULT get_Polarisation(LONG* plPolarisation) override;
  HRESULT get_Bandwidth(LONG* plBandwidth) override;
  HRESULT get_OrbitalPosition(LONG* plOrbitalPosition) override;
  HRESULT get_WestEastFlag(LONG* plWestEast) override;
};
