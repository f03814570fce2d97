#include "Tuner/KxTransponderInfo.h"

#include "Tuner/TracedResult.h"

namespace {
constexpr const char* kLogFile = "KxTransponderInfo";

template <class T>
HRESULT CopyOut(T value, T* out) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}
}  // namespace

CKxTransponderInfo::CKxTransponderInfo(LONG lFreq, LONG lPol, LONG lSr, LONG lSat, VARIANT_BOOL bDvbS2)
    : m_lFreq(lFreq), m_lPol(lPol), m_lSr(lSr), m_lSat(lSat), m_bDvbS2(bDvbS2) {}

HRESULT CKxTransponderInfo::CreateInstance(LONG lFreq, LONG lPol, LONG lSr, LONG lSat, VARIANT_BOOL bDvbS2,
                                           IKxTransponderInfo** ppVal) {
  if (!ppVal) return E_POINTER;
  *ppVal = nullptr;
  ComObject<CKxTransponderInfo>* pObj = nullptr;
  HRESULT hr = S_OK;
  if (FailedTraced(hr = ComObject<CKxTransponderInfo>::CreateInstance(&pObj, lFreq, lPol, lSr, lSat, bDvbS2),
                   "(hr) = (CComObject<CKxTransponderInfo>::CreateInstance(&pObj))", kLogFile))
    return hr;
  const ComPtr<ComObject<CKxTransponderInfo>> hold(pObj);
  FailedTraced(hr = pObj->QueryInterface(IidOf<IKxTransponderInfo>(), reinterpret_cast<void**>(ppVal)),
               "(hr) = (pObj->QueryInterface(ppObj))", kLogFile);
  return hr;
}

HRESULT CKxTransponderInfo::get_Frequency(LONG* plFreq) { return CopyOut(m_lFreq, plFreq); }
HRESULT CKxTransponderInfo::get_Polarisation(LONG* plPol) { return CopyOut(m_lPol, plPol); }
HRESULT CKxTransponderInfo::get_SymbolRate(LONG* plSr) { return CopyOut(m_lSr, plSr); }
HRESULT CKxTransponderInfo::get_Satellite(LONG* plSat) { return CopyOut(m_lSat, plSat); }
HRESULT CKxTransponderInfo::get_IsDvbS2(VARIANT_BOOL* pbDvbS2) { return CopyOut(m_bDvbS2, pbDvbS2); }
