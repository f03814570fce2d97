#include "Tuner/KxStringList.h"

#include <new>

HRESULT CKxStringList::Initialize(const std::vector<std::u16string>& vec) {
  try {
    m_vec = vec;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT CKxStringList::get_Count(LONG* plCount) {
  if (!plCount) return E_POINTER;
  *plCount = static_cast<LONG>(m_vec.size());
  return S_OK;
}

HRESULT CKxStringList::get_StringByIndex(LONG lIndex, BSTR* pbstrString) {
  if (!pbstrString) return E_POINTER;
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_vec.size()) return E_INVALIDARG;
  return AllocOutString(m_vec[lIndex], pbstrString);
}
