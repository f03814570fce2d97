#include "devplugins/KxDPSetup.h"

#include <iterator>

#include "devplugins/ReturnVariant.h"
#include "interfaces/KxFilterRole.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "KxDPSetup";

// Filter roles of the properties 0..4.
constexpr LONG kFilterRoles[] = {KxFLTNetworkProvider, KxFLTNetworkTuner, KxFLTNetworkReceiver, KxFLTMpeg2Demux,
                                 KxFLTMpegPsiReader};
constexpr LONG kMonikerProperty = 5;
constexpr LONG kHardwareEnumeratorProperty = 6;

enum GraphState : LONG { kStopped = 0, kPaused = 1, kRunning = 2 };
}  // namespace

HRESULT CKxDPSetup::CreateInstance(IDPGraphManager* graphManager, IKxDPSetup** out) {
  if (!out) return E_POINTER;
  if (!graphManager) return E_POINTER;
  return ComObject<CKxDPSetup>::CreateAndQuery(out, graphManager);
}

HRESULT CKxDPSetup::CreateInstance(IDPGraphManager* graphManager, ComPtr<ComObject<CKxDPSetup>>* out) {
  if (!out || !graphManager) return E_POINTER;
  *out = ComObject<CKxDPSetup>::Make(graphManager);
  return *out ? S_OK : E_OUTOFMEMORY;
}

void CKxDPSetup::Detach() {
  std::unique_lock lock(m_detachLock);
  m_pGraphManager = nullptr;
}

HRESULT CKxDPSetup::put_Property(LONG id, VARIANT value) {
  std::shared_lock lock(m_detachLock);
  if (!m_pGraphManager) return E_UNEXPECTED;
  return PutProperty(id, value);
}

HRESULT CKxDPSetup::get_Property(LONG id, VARIANT* value) {
  if (!value) return E_POINTER;
  std::shared_lock lock(m_detachLock);
  if (!m_pGraphManager) return E_UNEXPECTED;
  return GetProperty(id, value);
}

HRESULT CKxDPSetup::PutProperty(LONG id, const VARIANT& value) {
  if (id != KxDPSetupProperty_GraphState) return E_FAIL;
  if (value.vt != VT_I4 && value.vt != VT_I2) return S_OK;
  const LONG state = value.vt == VT_I4 ? value.lVal : value.iVal;
  HRESULT hr = S_OK;
  switch (state) {
    case kStopped:
      hr = m_pGraphManager->StopGraphOnly();
      traceFailure(hr, "(hr) = (StopGraph())", kLogFile);
      break;
    case kPaused:
      hr = m_pGraphManager->PauseGraphOnly();
      traceFailure(hr, "(hr) = (PauseGraph())", kLogFile);
      break;
    case kRunning:
      hr = m_pGraphManager->StartGraphOnly();
      traceFailure(hr, "(hr) = (RunGraph())", kLogFile);
      break;
    default: break;
  }
  return hr;
}

HRESULT CKxDPSetup::GetProperty(LONG id, VARIANT* value) {
  Variant var;
  if (id >= 0 && id < static_cast<LONG>(std::size(kFilterRoles))) {
    ComPtr<IUnknown> filter;
    RETURN_IF_FAILED(m_pGraphManager->GetFilter(kFilterRoles[id], filter.Put()));
    if (!filter) return E_FAIL;
    var = Variant(filter.Get());
  } else if (id == kMonikerProperty) {
    BStr moniker;
    RETURN_IF_FAILED(m_pGraphManager->GetVideoDeviceMoniker(moniker.Put()));
    var.vt = VT_BSTR;
    var.bstrVal = moniker.Detach();
  } else if (id == kHardwareEnumeratorProperty) {
    ComPtr<IUnknown> enumerator;
    RETURN_IF_FAILED(m_pGraphManager->GetHardwareEnumerator(enumerator.Put()));
    var = Variant(enumerator.Get());
  } else {
    return E_FAIL;
  }
  ReturnVariant(var, value);
  return S_OK;
}
