#include "Tuner/KxTunerRegional.h"

#include "Tuner/CountryNetworks.h"
#include "Tuner/TracedResult.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
constexpr LONG kAustralia = 61;
}

HRESULT ReadItemNumber(IKxTuningItem* item, const char16_t* name, int32_t& value) {
  Variant var;
  const BStr bstrName(name);
  HRESULT hr = item->get_Property(bstrName.Get(), &var);
  if (FAILED(hr)) return hr;
  Variant number;
  hr = VariantChangeType(&number, &var, 0, VT_I4);
  if (SUCCEEDED(hr)) value = number.lVal;
  return hr;
}

std::vector<std::u16string> CKxTunerRegional::NetworkNames() const {
  const CountryNetworks networks = NetworksOfCountry(m_lCountryCode);
  std::vector<std::u16string> names;
  if (m_australia && m_lCountryCode == kAustralia)
    names.push_back(u"AUSTRALIA");
  else if (networks.palX)
    names.push_back(u"PAL-X");
  if (networks.ntsc) names.push_back(u"NTSC");
  if (networks.palD) names.push_back(u"PAL-D");
  return names;
}

HRESULT CKxTunerRegional::LoadFrequencyList() {
  HRESULT hr = LoadTuningData(m_tuningDataType, m_logFile);
  if (FAILED(hr)) return hr;
  log(1, "Country Code = %d", static_cast<int>(m_lCountryCode));
  for (const std::u16string& name : NetworkNames()) {
    ComPtr<IKxTuningItemList> list;
    const BStr group(name);
    hr = m_pScanTuningData->GetTuningItemListByGroup(group.Get(), list.Put());
    if (FailedTraced(hr, "(hr) = (m_pTuningData->GetTuningItemListByGroup(bstrGroup, &pList))", m_logFile)) {
      log(1, "ERROR: the tuning data has no network \"%s\"", Utf16ToUtf8(name).c_str());
      return hr;
    }
    hr = LoadFrequencyListFromTuningItemList(list.Get());
    if (FailedTraced(hr, "(hr) = (LoadFrequencyListFromTuningItemList(pList))", m_logFile)) return hr;
  }
  if (RecordCount() == 0) {
    log(1, "ERROR: frequency list is empty.");
    return E_FAIL;
  }
  return S_OK;
}

bool CKxTunerRegional::AppendAnnouncedRecord(const KxScanRecord& record) {
  return AppendNewRecord(record, [](const KxScanRecord& listed, const KxScanRecord& announced) {
    KxScanRecord sameFrequency = announced;
    sameFrequency.nFrequency = listed.nFrequency;
    return sameFrequency == listed && NearFrequency(listed, announced);
  });
}
