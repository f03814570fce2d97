#include "DSFilters/PsiRenderer/EpgCallbackSink.h"

#include "DSFilters/PsiRenderer/EpgEventsCOM.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "BackgroundEpg";
}

bool CEpgCallbackSink::DeliverNew(CEpgEvents& events) {
  IEpgCallback* callback = m_pCallback.load();
  if (!callback) return false;
  ComPtr<IEpgEvents> pObj;
  HRESULT hr = CEpgEventsCOM::CreateInstance(events, true, pObj.Put());
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (CEpgEventsCOM::CreateInstance(m_pEpgEvents, 1, &pObj))", kLogFile);
    return false;
  }
  LONG nCount = 0;
  hr = pObj->get_Count(&nCount);
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (pObj->get_Count(&nCount))", kLogFile);
    return false;
  }
  if (nCount == 0) return false;
  callback->OnEpgEvents(pObj.Get());
  return true;
}
