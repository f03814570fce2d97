#include "DSFilters/PsiRenderer/EpgEventsCOM.h"

#include "DSFilters/PsiRenderer/EpgEventCOM.h"
#include "DSFilters/PsiRenderer/SnapshotLog.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "EpgEventsCOM";
}

CEpgEventsCOM::CEpgEventsCOM() { log(7, "CEpgEventsCOM: Ctor(0x%x)", SnapshotAddress(this)); }

CEpgEventsCOM::~CEpgEventsCOM() { log(7, "CEpgEventsCOM: Dtor(0x%x)", SnapshotAddress(this)); }

HRESULT CEpgEventsCOM::CreateInstance(CEpgEvents& events, bool onlyNew, IEpgEvents** ppEpgEvents) {
  if (!ppEpgEvents) return E_POINTER;
  *ppEpgEvents = nullptr;
  ComObject<CEpgEventsCOM>* pObj = nullptr;
  HRESULT hr = ComObject<CEpgEventsCOM>::CreateInstance(&pObj);
  if (FAILED(hr)) return hr;
  pObj->AddRef();
  {
    AutoLock lock(events.Lock());
    for (auto& [key, entry] : events.Entries()) {
      if (!onlyNew) {
        pObj->m_vec.push_back(entry.event);
        entry.delivered = 0;
      } else if (entry.event.m_llStartTime != 0) {
        // Again when it changed (an ETT's text, a new version): the host replaces it by its id.
        // Never without a start time: a text whose event has not come yet.
        const size_t fingerprint = CEpgEvents::Fingerprint(entry.event);
        if (entry.delivered && entry.deliveredFingerprint == fingerprint) continue;
        pObj->m_vec.push_back(entry.event);
        entry.delivered = 1;
        entry.deliveredFingerprint = fingerprint;
      }
    }
  }
  hr = pObj->QueryInterface(IidOf<IEpgEvents>(), reinterpret_cast<void**>(ppEpgEvents));
  pObj->Release();
  if (FAILED(hr))
    traceFailure(hr, "(hr) = (pObj->QueryInterface(__uuidof(IEpgEvents), reinterpret_cast<void**>(ppEpgEvents)))",
                 kLogFile);
  return hr;
}

HRESULT CEpgEventsCOM::get_Count(LONG* count) {
  if (!count) return E_POINTER;
  *count = static_cast<LONG>(m_vec.size());
  return S_OK;
}

HRESULT CEpgEventsCOM::get_Item(LONG index, IEpgEvent** item) {
  if (!item) return E_POINTER;
  if (index < 0 || static_cast<size_t>(index) >= m_vec.size()) return E_INVALIDARG;
  const HRESULT hr = CEpgEventCOM::CreateInstance(m_vec[static_cast<size_t>(index)], item);
  if (FAILED(hr)) traceFailure(hr, "(hr) = (CEpgEventCOM::CreateInstance(m_vec[lIndex], ppItem))", kLogFile);
  return hr;
}
