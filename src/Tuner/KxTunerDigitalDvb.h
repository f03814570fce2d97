#pragma once
// A digital tuner that scans one flat list of records in order (DVB-T,
// DVB-C, ATSC). Records the network search finds are appended to the list
// and scanned later in the same search.
#include <mutex>
#include <vector>

#include "Tuner/KxTunerDigital.h"

class CKxTunerDigitalDvb : public CKxTunerDigital {
 protected:
  HRESULT OnBeforeStartAutoTuning() override;
  HRESULT OnScanStep() override;
  bool IsScanFinished() override;
  LONG GetCurrentFrequency() override;
  LONG GetProgress() override;
  HRESULT GetTuningItem(KxScanRecord& tp) override;

  // The record at `index`; E_FAIL outside the list.
  HRESULT GetTuningParam(LONG index, KxScanRecord& tp) const;
  LONG CurrentIndex() const;
  void AppendRecord(const KxScanRecord& record);
  // Appends `record` unless the list holds one that `same` says is equal; true when appended.
  template <class Same>
  bool AppendNewRecord(const KxScanRecord& record, Same same) {
    std::lock_guard lock(m_listLock);
    for (const KxScanRecord& listed : m_frequencyList)
      if (same(listed, record)) return false;
    m_frequencyList.push_back(record);
    return true;
  }
  size_t RecordCount() const;

 private:
  // The worker reads and extends the list while host calls may look at it.
  mutable std::mutex m_listLock;
  std::vector<KxScanRecord> m_frequencyList;
  LONG m_nCurrentItem = 0;
};
