#include "DSFilters/PsiRenderer/TransponderFrequenciesCOM.h"

#include "DSFilters/PsiRenderer/SnapshotLog.h"
#include "DSFilters/PsiRenderer/TransponderFrequencyCOM.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "TransponderFrequenciesCOM";
}

CTransponderFrequenciesCOM::CTransponderFrequenciesCOM(std::vector<CTransponderFrequency> records)
    : m_vec(std::move(records)) {
  log(7, "CTransponderFrequenciesCOM: Ctor(0x%x)", SnapshotAddress(this));
}

CTransponderFrequenciesCOM::~CTransponderFrequenciesCOM() {
  log(7, "CTransponderFrequenciesCOM: Dtor(0x%x)", SnapshotAddress(this));
}

HRESULT CTransponderFrequenciesCOM::CreateInstance(const std::shared_ptr<CTransponderFrequencies>& frequencies,
                                                   ITransponderFrequencies** ppObj) {
  if (!ppObj) return E_POINTER;
  *ppObj = nullptr;
  ComPtr<ComObject<CTransponderFrequenciesCOM>> pObj = ComObject<CTransponderFrequenciesCOM>::Make(
      frequencies ? frequencies->Copy() : std::vector<CTransponderFrequency>());
  if (!pObj) return E_OUTOFMEMORY;
  const HRESULT hr = pObj->QueryInterface(IidOf<ITransponderFrequencies>(), reinterpret_cast<void**>(ppObj));
  if (FAILED(hr))
    traceFailure(hr,
                 "(hr) = (pObj->QueryInterface(__uuidof(ITransponderFrequencies), reinterpret_cast<void**>(ppObj)))",
                 kLogFile);
  return hr;
}

HRESULT CTransponderFrequenciesCOM::get_Count(LONG* plCount) {
  if (!plCount) return E_POINTER;
  *plCount = static_cast<LONG>(m_vec.size());
  return S_OK;
}

HRESULT CTransponderFrequenciesCOM::get_Item(LONG lIndex, ITransponderFrequency** ppItem) {
  if (!ppItem) return E_POINTER;
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_vec.size()) return E_INVALIDARG;
  RETURN_IF_FAILED(CTransponderFrequencyCOM::CreateInstance(m_vec[lIndex], ppItem));
  return S_OK;
}
