#include "DSFilters/PsiRenderer/EpgEventCOM.h"

#include "DSFilters/PsiRenderer/SnapshotLog.h"
#include "logging/LogFile.h"
#include "platform/com/Date.h"

namespace {
constexpr const char* kLogFile = "EpgEventsCOM";

HRESULT ReturnLong(LONG* out, int32_t value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

HRESULT ReturnString(BSTR* out, const std::u16string& value, const char* expression) {
  if (!out) return E_POINTER;
  const HRESULT hr = AllocOutString(value, out);
  if (FAILED(hr)) traceFailure(hr, expression, kLogFile);
  return hr;
}

HRESULT ReturnDate(DATE* out, int64_t seconds) {
  if (!out) return E_POINTER;
  const time_t t = static_cast<time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return E_FAIL;
  *out = CalendarToDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec);
  return S_OK;
}
}  // namespace

CEpgEventCOM::CEpgEventCOM(const CEpgEvent& event) : CEpgEvent(event) {
  log(7, "CEpgEventCOM: Ctor(0x%x)", SnapshotAddress(this));
}

CEpgEventCOM::~CEpgEventCOM() { log(7, "CEpgEventCOM: Dtor(0x%x)", SnapshotAddress(this)); }

HRESULT CEpgEventCOM::CreateInstance(const CEpgEvent& event, IEpgEvent** ppEpgEvent) {
  if (!ppEpgEvent) return E_POINTER;
  *ppEpgEvent = nullptr;
  ComObject<CEpgEventCOM>* pObj = nullptr;
  HRESULT hr = ComObject<CEpgEventCOM>::CreateInstance(&pObj, event);
  if (FAILED(hr)) return hr;
  pObj->AddRef();
  hr = pObj->QueryInterface(IidOf<IEpgEvent>(), reinterpret_cast<void**>(ppEpgEvent));
  pObj->Release();
  if (FAILED(hr))
    traceFailure(hr, "(hr) = (pObj->QueryInterface(__uuidof(IEpgEvent), reinterpret_cast<void**>(ppEpgEvent)))",
                 kLogFile);
  return hr;
}

HRESULT CEpgEventCOM::get_EventId(LONG* value) { return ReturnLong(value, m_lEventId); }
HRESULT CEpgEventCOM::get_TransportStreamId(LONG* value) { return ReturnLong(value, m_lTransportStreamId); }
HRESULT CEpgEventCOM::get_ServiceId(LONG* value) { return ReturnLong(value, m_lServiceId); }
HRESULT CEpgEventCOM::get_NetworkId(LONG* value) { return ReturnLong(value, m_lOriginalNetworkId); }
HRESULT CEpgEventCOM::get_SourceId(LONG* value) { return ReturnLong(value, m_lServiceId); }

HRESULT CEpgEventCOM::get_EventName(BSTR* value) {
  return ReturnString(value, m_bstrEventName, "(hr) = (m_bstrEventName.CopyTo(pbstrName))");
}
HRESULT CEpgEventCOM::get_Text(BSTR* value) {
  return ReturnString(value, m_bstrText, "(hr) = (m_bstrText.CopyTo(pbstrText))");
}
HRESULT CEpgEventCOM::get_ExtendedItem(BSTR* value) {
  return ReturnString(value, m_bstrItem, "(hr) = (m_bstrItem.CopyTo(pbstrVal))");
}
HRESULT CEpgEventCOM::get_ExtendedItemDescription(BSTR* value) {
  return ReturnString(value, m_bstrItemDescription, "(hr) = (m_bstrItemDescription.CopyTo(pbstrVal))");
}

HRESULT CEpgEventCOM::get_StartTime(DATE* value) { return ReturnDate(value, m_llStartTime); }
HRESULT CEpgEventCOM::get_EndTime(DATE* value) { return ReturnDate(value, m_llEndTime); }
