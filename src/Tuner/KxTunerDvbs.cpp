#include "Tuner/KxTunerDvbs.h"

#include <algorithm>

#include "Tuner/GroupNameOrder.h"
#include "Tuner/KxTunerRegional.h"
#include "Tuner/TracedResult.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
static constexpr const char* kLogFile = "KxTunerDvbs";
// Transponders of each satellite the blind scan tries.
constexpr LONG kBlindScanPerSatellite = 20;
}  // namespace

bool SameSatelliteTransponder(const KxScanRecord& a, const KxScanRecord& b) {
  return NearFrequency(a, b) && a.nPolarisation == b.nPolarisation && a.nSymbolRate == b.nSymbolRate &&
         a.nLnbPosition == b.nLnbPosition && a.nHighOscillator == b.nHighOscillator &&
         a.nLowOscillator == b.nLowOscillator && a.nLnbSwitch == b.nLnbSwitch;
}

CKxTunerDvbs::~CKxTunerDvbs() { StopWorker(); }

void CKxTunerDvbs::ApplyLnb(const LnbInfo& lnb, KxScanRecord& record) {
  record.nLnbPosition = lnb.eLnbPos;
  record.nHighOscillator = lnb.highOscillator;
  record.nLowOscillator = lnb.lowOscillator;
  record.nLnbSwitch = lnb.lnbSwitch;
}

HRESULT CKxTunerDvbs::get_LnbControl(IUnknown** control) {
  if (!control) return E_POINTER;
  *control = nullptr;
  if (!m_pGraphManager) return E_NOINTERFACE;
  return m_pGraphManager->QueryInterface(IidOf<IKxLnbControl>(), reinterpret_cast<void**>(control));
}

HRESULT CKxTunerDvbs::LoadFrequencyList() {
  HRESULT hr = LoadTuningData(KxTuningDataType_Dvbs, kLogFile);
  if (FAILED(hr)) return hr;
  const auto control = QueryAs<IKxLnbControl>(m_pGraphManager.Get());
  if (!control) {
    traceFailure(E_NOINTERFACE, "(hr) = (m_pGraphManager->QueryInterface(&pLnbControl))", kLogFile);
    return E_NOINTERFACE;
  }
  m_lnbMap.clear();
  m_tuningMap.clear();
  m_AllFrequencyList.clear();
  m_bFinished = false;
  m_nScanSteps = 0;
  RETURN_IF_FAILED(ReadLnbs(control.Get()));
  NextLnb();
  if (m_bFinished) {
    log(1, "ERROR: frequency list is empty.");
    return E_FAIL;
  }
  return S_OK;
}

HRESULT CKxTunerDvbs::ReadLnbs(IKxLnbControl* control) {
  LONG count = 0;
  RETURN_IF_FAILED(control->get_LnbCount(&count));
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxLnb> lnb;
    RETURN_IF_FAILED(control->get_LnbByIndex(i, lnb.Put()));
    LnbInfo info;
    BStr position;
    RETURN_IF_FAILED(lnb->get_SatellitePosition(position.Put()));
    RETURN_IF_FAILED(lnb->get_LnbPosition(&info.eLnbPos));
    RETURN_IF_FAILED(lnb->get_HighOscillator(&info.highOscillator));
    RETURN_IF_FAILED(lnb->get_LowOscillator(&info.lowOscillator));
    RETURN_IF_FAILED(lnb->get_LnbSwitch(&info.lnbSwitch));
    info.satellitePosition = position.View();
    log(1, "LNB %d: Pos=%d, LowOsc=%d, HighOsc=%d, Switch=%d, SatPos=%s", static_cast<int>(i + 1),
        static_cast<int>(info.eLnbPos), static_cast<int>(info.lowOscillator), static_cast<int>(info.highOscillator),
        static_cast<int>(info.lnbSwitch), position.Utf8().c_str());
    if (info.eLnbPos == 0) continue;
    m_lnbMap[info.eLnbPos] = info;
    std::vector<KxScanRecord>& list = m_tuningMap[info.eLnbPos];
    list.clear();
    if (!info.satellitePosition.empty()) {
      RETURN_IF_FAILED(AppendTuningItems(info.satellitePosition, info, list));
    } else if (m_AllFrequencyList.empty()) {
      RETURN_IF_FAILED(LoadFrequencyListForBlindScan(info));
    }
  }
  return S_OK;
}

HRESULT CKxTunerDvbs::AppendTuningItems(const std::u16string& position, const LnbInfo& lnb,
                                        std::vector<KxScanRecord>& list) {
  ComPtr<IKxTuningItemList> items;
  const BStr group(position);
  HRESULT hr = m_pScanTuningData->GetTuningItemListByGroup(group.Get(), items.Put());
  if (FailedTraced(hr, "(hr) = (m_pTuningData->GetTuningItemListByGroup(bstrSatPos, &pList))", kLogFile)) return hr;
  LONG count = 0;
  RETURN_IF_FAILED(items->get_Count(&count));
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxTuningItem> item;
    RETURN_IF_FAILED(items->get_ItemByIndex(i, item.Put()));
    KxScanRecord record;
    ApplyLnb(lnb, record);
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_Frequency, record.nFrequency));
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_Polarisation, record.nPolarisation));
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_SymbolRate, record.nSymbolRate));
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_InnerFec, record.nInnerFec));
    RETURN_IF_FAILED(ReadItemNumber(item.Get(), KxTuningItemProperty_Modulation, record.nModulation));
    list.push_back(record);
  }
  return S_OK;
}

HRESULT CKxTunerDvbs::LoadFrequencyListForBlindScan(const LnbInfo& lnb) {
  const auto satellites = QueryAs<IKxDvbsSatelliteInfo>(m_pScanTuningData.Get());
  if (!satellites) return E_NOINTERFACE;
  LONG count = 0;
  RETURN_IF_FAILED(satellites->get_SatelliteCount(&count));
  std::map<std::u16string, std::vector<KxScanRecord>, GroupNameOrder> lists{GroupNameOrder(UserDefaultLocale())};
  for (LONG i = 0; i < count; ++i) {
    BStr position;
    RETURN_IF_FAILED(satellites->get_SatellitePositionByIndex(i, position.Put()));
    RETURN_IF_FAILED(AppendTuningItems(std::u16string(position.View()), lnb, lists[std::u16string(position.View())]));
  }
  // The first transponder of every satellite before the second of any.
  for (LONG r = 0; r < kBlindScanPerSatellite; ++r)
    for (const auto& [position, list] : lists)
      if (static_cast<size_t>(r) < list.size()) m_AllFrequencyList.push_back(list[static_cast<size_t>(r)]);
  return S_OK;
}

std::vector<KxScanRecord>& CKxTunerDvbs::CurrentList(LONG lnb) {
  return m_lnbMap[lnb].satellitePosition.empty() ? m_AllFrequencyList : m_tuningMap[lnb];
}

void CKxTunerDvbs::NextLnb() {
  // An LNB without records to scan (a satellite the list has no transponders
  // of, a blind scan over empty tuning data) is left out.
  while (!m_tuningMap.empty() && CurrentList(m_tuningMap.begin()->first).empty())
    m_tuningMap.erase(m_tuningMap.begin());
  m_nCurrentIndex = 0;
  m_scannedOnLnb.clear();
  if (m_tuningMap.empty()) {
    m_bFinished = true;
    return;
  }
  m_eCurrentLnb = m_tuningMap.begin()->first;
  const LnbInfo& lnb = m_lnbMap[m_eCurrentLnb];
  if (!lnb.satellitePosition.empty()) return;
  // The blind-scan list is tuned through whichever LNB scans it.
  for (KxScanRecord& record : m_AllFrequencyList) ApplyLnb(lnb, record);
}

bool CKxTunerDvbs::Scanned(const KxScanRecord& tp) const {
  return std::any_of(m_scannedOnLnb.begin(), m_scannedOnLnb.end(),
                     [&](const KxScanRecord& done) { return SameSatelliteTransponder(done, tp); });
}

HRESULT CKxTunerDvbs::OnScanStep() {
  HRESULT hr = S_OK;
  KxScanRecord tp;
  if (SUCCEEDED(GetTuningItem(tp)) && Scanned(tp)) {
    log(1, "Transponder %d already searched through LNB %d", static_cast<int>(tp.nFrequency),
        static_cast<int>(m_eCurrentLnb));
  } else {
    hr = ScanTransponder();
    m_scannedOnLnb.push_back(tp);
  }
  ++m_nCurrentIndex;
  ++m_nScanSteps;
  if (static_cast<size_t>(m_nCurrentIndex) < CurrentList(m_eCurrentLnb).size()) return hr;
  m_tuningMap.erase(m_eCurrentLnb);
  NextLnb();
  return hr;
}

LONG CKxTunerDvbs::GetProgress() {
  // Steps done over steps done plus records left: lists grow with the
  // network search and shrink when the satellite is found.
  int64_t left = 0;
  for (const auto& [lnb, list] : m_tuningMap) {
    const auto size = static_cast<int64_t>(CurrentList(lnb).size());
    left += lnb == m_eCurrentLnb ? std::max<int64_t>(size - m_nCurrentIndex, 0) : size;
  }
  const int64_t total = m_nScanSteps + left;
  if (total < 1) return 0;
  return static_cast<LONG>(std::clamp<int64_t>(m_nScanSteps * 100 / total, 0, 100));
}

LONG CKxTunerDvbs::GetCurrentFrequency() {
  KxScanRecord tp;
  return SUCCEEDED(GetTuningItem(tp)) ? tp.nFrequency : -1;
}

HRESULT CKxTunerDvbs::GetTuningItem(KxScanRecord& tp) {
  if (m_bFinished || m_tuningMap.empty()) return E_FAIL;
  const std::vector<KxScanRecord>& list = CurrentList(m_eCurrentLnb);
  if (m_nCurrentIndex < 0 || static_cast<size_t>(m_nCurrentIndex) >= list.size()) return E_FAIL;
  tp = list[static_cast<size_t>(m_nCurrentIndex)];
  return S_OK;
}

LONG CKxTunerDvbs::GetChannelSearchFlags() {
  // Without its orbital position the LNB learns it from the NIT.
  if (m_lnbMap[m_eCurrentLnb].satellitePosition.empty()) return 3;
  return CKxTunerDigital::GetChannelSearchFlags();
}
