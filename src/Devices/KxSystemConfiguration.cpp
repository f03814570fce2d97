#include "Devices/KxSystemConfiguration.h"

#include "Devices/BdaTempStore.h"
#include "Devices/DeviceSignature.h"
#include "Devices/DeviceType.h"
#include "logging/LogFile.h"
#include "platform/bda/Topology.h"
#include "platform/com/Utf.h"

namespace {
static constexpr const char* kLogFile = "KxSystemConfiguration";

// Traces a failing sub-call of one device; the device is then left out.
bool Failed(HRESULT hr, const char* expression) {
  if (SUCCEEDED(hr)) return false;
  traceFailure(hr, expression, kLogFile);
  return true;
}

std::string HWValue(IKxHWInfo* info, LONG type) {
  BStr value;
  return SUCCEEDED(info->get_ValueString(type, value.Put())) ? value.Utf8() : std::string();
}
}  // namespace

HRESULT CKxSystemConfiguration::Attach(IKxHWConfig* pHWConfig) {
  if (!pHWConfig) return E_POINTER;
  AutoLock lock(m_lock);
  m_pHWConfig = pHWConfig;
  m_bstrCategory = BStr(Utf8ToUtf16(GuidToString(KSCATEGORY_BDA_NETWORK_TUNER)));
  return S_OK;
}

HRESULT CKxSystemConfiguration::get_DeviceCount(LONG* count) {
  if (!count) return E_POINTER;
  AutoLock lock(m_lock);
  return Enumerate(*count);
}

HRESULT CKxSystemConfiguration::GetDevice(LONG index, IKxCaptureDevice** device) {
  if (!device) return E_POINTER;
  AutoLock lock(m_lock);
  if (index < 0 || static_cast<size_t>(index) >= m_vDevList.size()) return E_INVALIDARG;
  return m_vDevList[static_cast<size_t>(index)]->QueryInterface(IidOf<IKxCaptureDevice>(),
                                                                reinterpret_cast<void**>(device));
}

HRESULT CKxSystemConfiguration::GetDeviceByMonikerName(BSTR name, IKxCaptureDevice** device) {
  if (!name || !device) return E_POINTER;
  *device = nullptr;
  AutoLock lock(m_lock);
  LONG count = 0;
  Enumerate(count);
  const std::u16string_view wanted(name, SysStringLen(name));
  HRESULT hr = E_FAIL;
  for (const ComPtr<IKxCaptureDevice>& candidate : m_vDevList) {
    BStr moniker;
    hr = candidate->get_MonikerName(moniker.Put());
    if (SUCCEEDED(hr) && moniker.View() == wanted) return candidate.CopyTo(device);
  }
  return FAILED(hr) ? hr : E_FAIL;
}

HRESULT CKxSystemConfiguration::get_Flags(LONG* value) {
  if (!value) return E_POINTER;
  *value = 0;
  return S_OK;
}

HRESULT CKxSystemConfiguration::Enumerate(LONG& count) {
  std::vector<ComPtr<IKxCaptureDevice>> previous;
  previous.swap(m_vDevList);
  if (!m_pHWConfig) return E_POINTER;

  LONG nFilterCount = 0;
  const HRESULT hr = m_pHWConfig->GetFilterCount(m_bstrCategory.Get(), &nFilterCount);
  if (FAILED(hr)) {
    traceFailure(hr, "(hr) = (m_pHWConfig->GetFilterCount(m_bstrCategory, &nFilterCount))", kLogFile);
    return hr;
  }
  BdaTempStore store;
  const HRESULT storeResult = store.Open();
  if (FAILED(storeResult))
    log(1, "Bda temp store could not be opened: hr=0x%08X", static_cast<unsigned>(storeResult));
  else if (!store.IsLocked())
    log(1, "Bda temp store opened without lock");

  DeviceSignatures signatures;
  for (LONG i = 0; i < nFilterCount; ++i) AddDevice(i, previous, store, signatures);

  store.Close();
  count = static_cast<LONG>(m_vDevList.size());
  return hr;
}

void CKxSystemConfiguration::AddDevice(LONG index, const std::vector<ComPtr<IKxCaptureDevice>>& previous,
                                       BdaTempStore& store, DeviceSignatures& signatures) {
  ComPtr<IKxFilterInfo> pFilterInfo;
  if (Failed(m_pHWConfig->GetFilterByIndex(m_bstrCategory.Get(), index, pFilterInfo.Put()),
             "(hr) = (m_pHWConfig->GetFilterByIndex(m_bstrCategory, i, &pFilterInfo))") ||
      !pFilterInfo)
    return;
  ComPtr<IKxHWInfo> pHWInfo;
  if (Failed(m_pHWConfig->GetHWInfo(pFilterInfo.Get(), pHWInfo.Put()),
             "(hr) = (m_pHWConfig->GetHWInfo(pFilterInfo, &pHWInfo))") ||
      !pHWInfo)
    return;
  BStr bstrMonikerName, bstrFriendlyName;
  if (Failed(pFilterInfo->get_MonikerName(bstrMonikerName.Put()),
             "(hr) = (pFilterInfo->get_MonikerName(&bstrMonikerName))") ||
      Failed(pFilterInfo->get_FriendlyName(bstrFriendlyName.Put()),
             "(hr) = (pFilterInfo->get_FriendlyName(&bstrFriendlyName))"))
    return;
  store.KeepDevice(bstrMonikerName.View());

  for (const ComPtr<IKxCaptureDevice>& known : previous) {
    BStr moniker;
    if (SUCCEEDED(known->get_MonikerName(moniker.Put())) && moniker.View() == bstrMonikerName.View()) {
      m_vDevList.push_back(known);
      return;
    }
  }

  const std::string signature = store.IsOpen() ? signatures.Of(bstrMonikerName.Utf8()) : std::string();
  LONG eDeviceType = store.IsOpen() ? store.GetDeviceType(bstrMonikerName.View(), signature) : 0;
  if (eDeviceType == 0) {
    log(1, "Create filter to get device type");
    eDeviceType = DetectDeviceType(bstrMonikerName.Get());
    if (eDeviceType == 0) {
      log(1, "The device %s is not installed correct", bstrFriendlyName.Utf8().c_str());
      return;
    }
    if (store.IsLocked())
      Failed(store.SetDeviceType(bstrMonikerName.View(), signature, eDeviceType),
             "(hr) = (bdaTempStore.SetDeviceType(bstrMonikerName, eDeviceType))");
  }

  BStr bstrPhysicalDeviceID;
  if (Failed(m_pHWConfig->GetPhysicalDeviceID(pHWInfo.Get(), bstrPhysicalDeviceID.Put()),
             "(hr) = (m_pHWConfig->GetPhysicalDeviceID(pHWInfo, &bstrPhysicalDeviceID))"))
    return;
  ComObject<CKxCaptureDevice>* pDeviceObj = nullptr;
  if (Failed(ComObject<CKxCaptureDevice>::CreateInstance(&pDeviceObj),
             "(hr) = (CComObject<CKxDigitalCaptureDevice>::CreateInstance(&pDeviceObj))"))
    return;
  ComPtr<ComObject<CKxCaptureDevice>> device(pDeviceObj);
  if (Failed(device->Initialize(pFilterInfo.Get(), pHWInfo.Get(), eDeviceType, bstrPhysicalDeviceID.Get(),
                                m_pHWConfig.Get()),
             "(hr) = (pDeviceObj->Initialize(pFilterInfo, pHWInfo, eDeviceType, bstrPhysicalDeviceID, m_pHWConfig))"))
    return;
  ComPtr<IKxCaptureDevice> pDevice;
  if (Failed(device->QueryInterface(IidOf<IKxCaptureDevice>(), pDevice.PutVoid()),
             "(hr) = (pDeviceObj->QueryInterface(__uuidof(IKxCaptureDevice), (void**)&pDevice))"))
    return;
  m_vDevList.push_back(pDevice);
  log(1, "%s device found: %s; phID=%s; hwID=%s; driver: %s (%s)", DeviceTypeName(eDeviceType),
      bstrFriendlyName.Utf8().c_str(), bstrPhysicalDeviceID.Utf8().c_str(),
      HWValue(pHWInfo.Get(), KxHWValueType_HardwareID).c_str(),
      HWValue(pHWInfo.Get(), KxHWValueType_DriverDescription).c_str(),
      HWValue(pHWInfo.Get(), KxHWValueType_DriverVersion).c_str());
}

HRESULT CreateSystemConfigurationObject(IKxHWConfig* pHWConfig, IUnknown** configuration) {
  if (!configuration) return E_POINTER;
  *configuration = nullptr;
  auto object = ComObject<CKxSystemConfiguration>::Make();
  if (!object) return E_OUTOFMEMORY;
  // Without a hardware configuration the object still exists; its
  // operations then fail when used.
  if (pHWConfig) {
    const HRESULT hr = object->Attach(pHWConfig);
    if (FAILED(hr)) return hr;
  }
  return object->QueryInterface(IidOf<IUnknown>(), reinterpret_cast<void**>(configuration));
}
