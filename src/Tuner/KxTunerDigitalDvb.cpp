#include "Tuner/KxTunerDigitalDvb.h"

#include <algorithm>

HRESULT CKxTunerDigitalDvb::OnBeforeStartAutoTuning() {
  {
    std::lock_guard lock(m_listLock);
    m_frequencyList.clear();
    m_nCurrentItem = 0;
  }
  return CKxTunerDigital::OnBeforeStartAutoTuning();
}

HRESULT CKxTunerDigitalDvb::OnScanStep() {
  const HRESULT hr = ScanTransponder();
  std::lock_guard lock(m_listLock);
  ++m_nCurrentItem;
  return hr;
}

bool CKxTunerDigitalDvb::IsScanFinished() {
  std::lock_guard lock(m_listLock);
  return static_cast<size_t>(m_nCurrentItem) >= m_frequencyList.size();
}

LONG CKxTunerDigitalDvb::GetCurrentFrequency() {
  KxScanRecord tp;
  return SUCCEEDED(GetTuningParam(CurrentIndex(), tp)) ? tp.nFrequency : -1;
}

LONG CKxTunerDigitalDvb::GetProgress() {
  std::lock_guard lock(m_listLock);
  if (m_frequencyList.empty()) return 0;
  // Steps done over steps done plus records left: the list may have grown.
  const auto done = static_cast<int64_t>(m_nCurrentItem);
  const auto percent = done * 100 / static_cast<int64_t>(m_frequencyList.size());
  return static_cast<LONG>(std::clamp<int64_t>(percent, 0, 100));
}

HRESULT CKxTunerDigitalDvb::GetTuningItem(KxScanRecord& tp) { return GetTuningParam(CurrentIndex(), tp); }

HRESULT CKxTunerDigitalDvb::GetTuningParam(LONG index, KxScanRecord& tp) const {
  std::lock_guard lock(m_listLock);
  if (index < 0 || static_cast<size_t>(index) >= m_frequencyList.size()) return E_FAIL;
  tp = m_frequencyList[static_cast<size_t>(index)];
  return S_OK;
}

LONG CKxTunerDigitalDvb::CurrentIndex() const {
  std::lock_guard lock(m_listLock);
  return m_nCurrentItem;
}

void CKxTunerDigitalDvb::AppendRecord(const KxScanRecord& record) {
  std::lock_guard lock(m_listLock);
  m_frequencyList.push_back(record);
}

size_t CKxTunerDigitalDvb::RecordCount() const {
  std::lock_guard lock(m_listLock);
  return m_frequencyList.size();
}
