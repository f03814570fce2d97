#include "Channel/KxEnumPidInfo.h"

CKxEnumPidInfo::CKxEnumPidInfo(IUnknown* pOwner, std::vector<ComPtr<IKxPidInfo>> items, size_t position)
    : m_owner(pOwner), m_items(std::move(items)), m_position(position) {}

HRESULT CKxEnumPidInfo::Next(ULONG celt, IKxPidInfo** rgelt, ULONG* pceltFetched) {
  if (!rgelt && celt > 0) return E_POINTER;
  // Without a count out-argument only one item may be asked for.
  if (!pceltFetched && celt > 1) return E_POINTER;
  ULONG fetched = 0;
  while (fetched < celt && m_position < m_items.size()) {
    m_items[m_position++].CopyTo(&rgelt[fetched]);
    ++fetched;
  }
  if (pceltFetched) *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT CKxEnumPidInfo::Skip(ULONG celt) {
  const size_t left = m_items.size() - m_position;
  const size_t step = celt < left ? celt : left;
  m_position += step;
  return step == celt ? S_OK : S_FALSE;
}

HRESULT CKxEnumPidInfo::Reset() {
  m_position = 0;
  return S_OK;
}

HRESULT CKxEnumPidInfo::Clone(IKxEnumPidInfo** ppEnum) {
  return ComObject<CKxEnumPidInfo>::CreateAndQuery(ppEnum, m_owner.Get(), m_items, m_position);
}
