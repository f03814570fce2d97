#include "Tuner/KxTuningItem.h"

#include <new>

HRESULT CKxTuningItem::Initialize(const KxTuningParam& param) {
  try {
    m_props = {
        {KxTuningItemProperty_Frequency, Variant(param.nFrequency)},
        {KxTuningItemProperty_Bandwidth, Variant(param.nBandwidth)},
        {KxTuningItemProperty_Polarisation, Variant(param.nPolarisation)},
        {KxTuningItemProperty_SymbolRate, Variant(param.nSymbolRate)},
        {KxTuningItemProperty_Modulation, Variant(param.nModulation)},
        {KxTuningItemProperty_InnerFec, Variant(param.nInnerFec)},
        {KxTuningItemProperty_Pilot, Variant(param.nPilot)},
        {KxTuningItemProperty_Rolloff, Variant(param.nRolloff)},
    };
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT CKxTuningItem::get_Property(BSTR bstrName, VARIANT* pvarValue) {
  if (!pvarValue) return E_POINTER;
  VariantInit(pvarValue);
  const std::u16string_view name = bstrName ? std::u16string_view(bstrName, SysStringLen(bstrName)) : u"";
  const auto it = m_props.find(name);
  if (it == m_props.end()) return E_FAIL;
  return VariantCopy(pvarValue, &it->second);
}
