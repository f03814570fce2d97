#include "DSFilters/PsiRenderer/BackgroundEpgBase.h"

#include "DSFilters/PsiRenderer/EpgEventsCOM.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "BackgroundEpg";
}

void CBackgroundEpgBase::Deliver(const char* message) {
  IEpgCallback* callback = m_pCallback.load();
  if (!callback) return;
  ComPtr<IEpgEvents> pObj;
  HRESULT hr = CEpgEventsCOM::CreateInstance(*m_pEvents, true, pObj.Put());
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (CEpgEventsCOM::CreateInstance(m_pEpgEvents, 1, &pObj))", kLogFile);
    return;
  }
  LONG nCount = 0;
  hr = pObj->get_Count(&nCount);
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (pObj->get_Count(&nCount))", kLogFile);
    return;
  }
  if (nCount == 0) return;
  callback->OnEpgEvents(pObj.Get());
  log(6, "%s", message);
}
