#include "Tuner/KxTuningData.h"

#include <new>

#include "Tuner/KxStringList.h"
#include "Tuner/KxTuningItemList.h"
#include "Tuner/TracedResult.h"

namespace {
constexpr const char* kLogFile = "KxTuningData";

std::u16string_view View(BSTR text) { return text ? std::u16string_view(text, SysStringLen(text)) : std::u16string_view(); }

HRESULT ReadProperty(IKxTuningItem* pItem, const char16_t* name, int32_t* value) {
  Variant var;
  HRESULT hr = pItem->get_Property(BStr(name).Get(), &var);
  if (FAILED(hr)) return hr;
  Variant converted;
  hr = VariantChangeType(&converted, &var, 0, VT_I4);
  if (SUCCEEDED(hr)) *value = converted.lVal;
  return hr;
}
}  // namespace

// The expression text of each property read in the trace.
#define READ_PROPERTY(name, field)                                                                         \
  if (FailedTraced(hr = ReadProperty(pItem.Get(), name, &param.field),                                      \
                   "(hr) = (pItem->get_Property(CComBSTR(L\"" #name "\"), &var))", kLogFile))              \
  return hr

CKxTuningData::CKxTuningData(const std::locale& locale) : m_groups(GroupNameOrder(locale)) {}

HRESULT CKxTuningData::InitializeByString(BSTR bstrType, BSTR bstrXml) {
  if (!bstrXml) return E_POINTER;
  try {
    const std::lock_guard lock(m_lock);
    m_type = View(bstrType);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  try {
    return LoadTuningParams(bstrXml);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

CKxTuningData::Kind CKxTuningData::TypeKind() const {
  const std::lock_guard lock(m_lock);
  if (m_type == KxTuningDataType_Dvbs) return Kind::Dvbs;
  if (m_type == KxTuningDataType_Dvbt) return Kind::Dvbt;
  if (m_type == KxTuningDataType_Dvbc) return Kind::Dvbc;
  return Kind::Other;
}

HRESULT CKxTuningData::Append(const std::u16string& group, const KxTuningParam& param) {
  try {
    const std::lock_guard lock(m_lock);
    m_groups[group].push_back(param);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT CKxTuningData::AddSatellite(const std::u16string& name, const std::u16string& position) {
  try {
    BStr bstrName(name);
    BStr bstrPosition(position);
    if (!bstrName.Get() || !bstrPosition.Get()) return E_OUTOFMEMORY;
    const std::lock_guard lock(m_lock);
    m_vecSatNames.push_back(std::move(bstrName));
    try {
      m_vecSatPositions.push_back(std::move(bstrPosition));
    } catch (const std::bad_alloc&) {
      m_vecSatNames.pop_back();  // the two lists stay parallel
      throw;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT CKxTuningData::GetType(BSTR* pbstrType) {
  if (!pbstrType) return E_POINTER;
  const std::lock_guard lock(m_lock);
  return AllocOutString(m_type, pbstrType);
}

HRESULT CKxTuningData::GetGroupList(IKxStringList** ppList) {
  if (!ppList) return E_POINTER;
  *ppList = nullptr;
  std::vector<std::u16string> vec;
  try {
    const std::lock_guard lock(m_lock);
    if (m_groups.empty()) return E_UNEXPECTED;
    for (const auto& group : m_groups) vec.push_back(group.first);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  ComObject<CKxStringList>* pObj = nullptr;
  HRESULT hr = S_OK;
  if (FailedTraced(hr = ComObject<CKxStringList>::CreateInstance(&pObj),
                   "(hr) = (CComObject<CKxStringList>::CreateInstance(&pObj))", kLogFile))
    return hr;
  const ComPtr<ComObject<CKxStringList>> hold(pObj);
  if (FailedTraced(hr = pObj->Initialize(vec), "(hr) = (pObj->Initialize(vec))", kLogFile)) return hr;
  FailedTraced(hr = pObj->QueryInterface(IidOf<IKxStringList>(), reinterpret_cast<void**>(ppList)),
               "(hr) = (pObj->QueryInterface(ppList))", kLogFile);
  return hr;
}

HRESULT CKxTuningData::GetTuningItemListByGroup(BSTR bstrGroup, IKxTuningItemList** ppList) {
  if (!ppList || !bstrGroup) return E_POINTER;
  *ppList = nullptr;
  std::vector<KxTuningParam> vec;
  try {
    const std::lock_guard lock(m_lock);
    if (m_groups.empty()) return E_UNEXPECTED;
    const auto it = m_groups.find(std::u16string(View(bstrGroup)));
    if (it == m_groups.end()) return E_INVALIDARG;
    vec = it->second;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  ComObject<CKxTuningItemList>* pObj = nullptr;
  HRESULT hr = S_OK;
  if (FailedTraced(hr = ComObject<CKxTuningItemList>::CreateInstance(&pObj),
                   "(hr) = (CComObject<CKxTuningItemList>::CreateInstance(&pObj))", kLogFile))
    return hr;
  const ComPtr<ComObject<CKxTuningItemList>> hold(pObj);
  if (FailedTraced(hr = pObj->Initialize(vec), "(hr) = (pObj->Initialize(vec))", kLogFile)) return hr;
  FailedTraced(hr = pObj->QueryInterface(IidOf<IKxTuningItemList>(), reinterpret_cast<void**>(ppList)),
               "(hr) = (pObj->QueryInterface(ppList))", kLogFile);
  return hr;
}

HRESULT CKxTuningData::AddTuningData(IKxTuningData* pSource, LONG* plLocation) {
  if (!pSource || !plLocation) return E_POINTER;
  HRESULT hr = S_OK;
  BStr type;
  if (FailedTraced(hr = pSource->GetType(type.Put()), "(hr) = (pSource->GetType(&bstrType))", kLogFile)) return hr;
  {
    const std::lock_guard lock(m_lock);
    if (type.View() != m_type) return E_UNEXPECTED;
  }
  ComPtr<IKxStringList> pGroups;
  if (FailedTraced(hr = pSource->GetGroupList(pGroups.Put()), "(hr) = (pSource->GetGroupList(&pGroupList))", kLogFile))
    return hr;
  LONG lCount = 0;
  if (FailedTraced(hr = pGroups->get_Count(&lCount), "(hr) = (pGroupList->get_Count(&lCount))", kLogFile)) return hr;
  const Kind kind = TypeKind();
  for (LONG i = 0; i < lCount; ++i) {
    BStr group;
    if (FailedTraced(hr = pGroups->get_StringByIndex(i, group.Put()),
                     "(hr) = (pGroupList->get_StringByIndex(i, &bstrGroup))", kLogFile))
      return hr;
    if (FAILED(hr = MergeGroup(pSource, group, kind))) return hr;
  }
  return S_OK;
}

HRESULT CKxTuningData::MergeGroup(IKxTuningData* pSource, const BStr& group, Kind kind) {
  HRESULT hr = S_OK;
  ComPtr<IKxTuningItemList> pItems;
  if (FailedTraced(hr = pSource->GetTuningItemListByGroup(group.Get(), pItems.Put()),
                   "(hr) = (pSource->GetTuningItemListByGroup(bstrGroup, &pItemList))", kLogFile))
    return hr;
  LONG lCount = 0;
  if (FailedTraced(hr = pItems->get_Count(&lCount), "(hr) = (pItemList->get_Count(&lCount))", kLogFile)) return hr;
  std::u16string name;
  try {
    name = group.View();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  for (LONG i = 0; i < lCount; ++i) {
    ComPtr<IKxTuningItem> pItem;
    if (FailedTraced(hr = pItems->get_ItemByIndex(i, pItem.Put()), "(hr) = (pItemList->get_ItemByIndex(i, &pItem))",
                     kLogFile))
      return hr;
    KxTuningParam param;
    READ_PROPERTY(KxTuningItemProperty_Frequency, nFrequency);
    if (kind == Kind::Dvbt) {
      READ_PROPERTY(KxTuningItemProperty_Bandwidth, nBandwidth);
    } else if (kind == Kind::Dvbs) {
      READ_PROPERTY(KxTuningItemProperty_Polarisation, nPolarisation);
      READ_PROPERTY(KxTuningItemProperty_SymbolRate, nSymbolRate);
      READ_PROPERTY(KxTuningItemProperty_InnerFec, nInnerFec);
      READ_PROPERTY(KxTuningItemProperty_Modulation, nModulation);
      READ_PROPERTY(KxTuningItemProperty_Pilot, nPilot);
      READ_PROPERTY(KxTuningItemProperty_Rolloff, nRolloff);
    }
    if (FAILED(hr = Append(name, param))) return hr;
  }
  return S_OK;
}

HRESULT CKxTuningData::get_SatelliteCount(LONG* plCount) {
  if (!plCount) return E_POINTER;
  const std::lock_guard lock(m_lock);
  *plCount = static_cast<LONG>(m_vecSatNames.size());
  return S_OK;
}

HRESULT CKxTuningData::get_SatelliteNameByIndex(LONG lIndex, BSTR* pbstrName) {
  if (!pbstrName) return E_POINTER;
  const std::lock_guard lock(m_lock);
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_vecSatNames.size()) return E_INVALIDARG;
  HRESULT hr = S_OK;
  FailedTraced(hr = m_vecSatNames[lIndex].CopyTo(pbstrName), "(hr) = (m_vecSatNames[lIndex].CopyTo(pbstrName))",
               kLogFile);
  return hr;
}

HRESULT CKxTuningData::get_SatellitePositionByIndex(LONG lIndex, BSTR* pbstrSat) {
  if (!pbstrSat) return E_POINTER;
  const std::lock_guard lock(m_lock);
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_vecSatPositions.size()) return E_INVALIDARG;
  HRESULT hr = S_OK;
  FailedTraced(hr = m_vecSatPositions[lIndex].CopyTo(pbstrSat), "(hr) = (m_vecSatPositions[lIndex].CopyTo(pbstrSat))",
               kLogFile);
  return hr;
}
