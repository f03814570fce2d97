#include "DSFilters/PsiRenderer/TransponderFrequencyCOM.h"

#include "DSFilters/PsiRenderer/SnapshotLog.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "TransponderFrequencyCOM";

HRESULT Out(LONG* out, uint32_t value) {
  if (!out) return E_POINTER;
  *out = static_cast<LONG>(value);
  return S_OK;
}
}  // namespace

CTransponderFrequencyCOM::CTransponderFrequencyCOM(const CTransponderFrequency& record)
    : CTransponderFrequency(record) {
  log(7, "CTransponderFrequencyCOM: Ctor(0x%x)", SnapshotAddress(this));
}

CTransponderFrequencyCOM::~CTransponderFrequencyCOM() {
  log(7, "CTransponderFrequencyCOM: Dtor(0x%x)", SnapshotAddress(this));
}

HRESULT CTransponderFrequencyCOM::CreateInstance(const CTransponderFrequency& record, ITransponderFrequency** ppObj) {
  if (!ppObj) return E_POINTER;
  *ppObj = nullptr;
  ComPtr<ComObject<CTransponderFrequencyCOM>> pObj = ComObject<CTransponderFrequencyCOM>::Make(record);
  if (!pObj) return E_OUTOFMEMORY;
  const HRESULT hr = pObj->QueryInterface(IidOf<ITransponderFrequency>(), reinterpret_cast<void**>(ppObj));
  if (FAILED(hr))
    traceFailure(hr,
                 "(hr) = (pObj->QueryInterface(__uuidof(ITransponderFrequency), reinterpret_cast<void**>(ppObj)))",
                 kLogFile);
  return hr;
}

HRESULT CTransponderFrequencyCOM::get_CarrierFrequency(LONG* plFrequency) { return Out(plFrequency, m_nCarrierFrequency); }
HRESULT CTransponderFrequencyCOM::get_SymbolRate(LONG* plSymbolRate) { return Out(plSymbolRate, m_nSymbolRate); }
HRESULT CTransponderFrequencyCOM::get_Modulation(LONG* plModulation) { return Out(plModulation, m_nModulation); }
HRESULT CTransponderFrequencyCOM::get_Polarisation(LONG* plPolarisation) { return Out(plPolarisation, m_nPolarisation); }
HRESULT CTransponderFrequencyCOM::get_Bandwidth(LONG* plBandwidth) { return Out(plBandwidth, m_nBandwidth); }
HRESULT CTransponderFrequencyCOM::get_OrbitalPosition(LONG* plOrbitalPosition) {
  return Out(plOrbitalPosition, m_nOrbitalPosition);
}
HRESULT CTransponderFrequencyCOM::get_WestEastFlag(LONG* plWestEast) { return Out(plWestEast, m_nWestEastFlag); }
