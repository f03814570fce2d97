#include "DSFilters/TsBlocker/TsBlockerFilter.h"

#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "DSFilters\\TsBlocker\\TsBlockerFilter";
}

HRESULT CTsBlockerFilter::CreateFilter(IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  ComObject<CTsBlockerFilter>* pNewObject = nullptr;
  HRESULT hr = ComObject<CTsBlockerFilter>::CreateInstance(&pNewObject);
  if (FAILED(hr)) return hr;
  pNewObject->AddRef();
  hr = pNewObject->QueryInterface(IidOf<IBaseFilter>(), reinterpret_cast<void**>(filter));
  pNewObject->Release();
  if (FAILED(hr)) traceFailure(hr, "(hr) = (pNewObject->QueryInterface(__uuidof(IBaseFilter), (void**)ppFilter))", kLogFile);
  return hr;
}

HRESULT CTsBlockerFilter::put_Enabled(VARIANT_BOOL enabled) {
  AutoLock lock(m_blockLock);
  m_blocking = enabled ? 0 : 1;
  return S_OK;
}

HRESULT CTsBlockerFilter::Transform(IMediaSample* sample) {
  AutoLock lock(m_blockLock);
  if (m_blocking) sample->SetActualDataLength(0);
  return S_OK;
}
