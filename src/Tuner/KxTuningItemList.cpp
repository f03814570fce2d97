#include "Tuner/KxTuningItemList.h"

#include <new>

#include "Tuner/KxTuningItem.h"
#include "Tuner/TracedResult.h"

namespace {
constexpr const char* kLogFile = "KxTuningItem";
}

HRESULT CKxTuningItemList::Initialize(const std::vector<KxTuningParam>& vec) {
  try {
    m_vec = vec;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT CKxTuningItemList::get_Count(LONG* plCount) {
  if (!plCount) return E_POINTER;
  *plCount = static_cast<LONG>(m_vec.size());
  return S_OK;
}

HRESULT CKxTuningItemList::get_ItemByIndex(LONG lIndex, IKxTuningItem** ppItem) {
  if (!ppItem) return E_POINTER;
  *ppItem = nullptr;
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_vec.size()) return E_INVALIDARG;
  ComObject<CKxTuningItem>* pObj = nullptr;
  HRESULT hr = S_OK;
  if (FailedTraced(hr = ComObject<CKxTuningItem>::CreateInstance(&pObj),
                   "(hr) = (CComObject<CKxTuningItem>::CreateInstance(&pObj))", kLogFile))
    return hr;
  const ComPtr<ComObject<CKxTuningItem>> hold(pObj);
  if (FailedTraced(hr = pObj->Initialize(m_vec[lIndex]), "(hr) = (pObj->Initialize(m_vec[lIndex]))", kLogFile))
    return hr;
  FailedTraced(hr = pObj->QueryInterface(IidOf<IKxTuningItem>(), reinterpret_cast<void**>(ppItem)),
               "(hr) = (pObj->QueryInterface(ppItem))", kLogFile);
  return hr;
}
