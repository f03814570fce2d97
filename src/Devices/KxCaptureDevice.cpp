#include "Devices/KxCaptureDevice.h"

#include <algorithm>

#include "Devices/DeviceLocks.h"
#include "Devices/DeviceType.h"
#include "GraphManager/KxGraphManagerDigital.h"
#include "GraphManager/KxGraphManagerDvbs.h"
#include "Tuner/KxTunerAtsc.h"
#include "Tuner/KxTunerDvbc.h"
#include "Tuner/KxTunerDvbs.h"
#include "Tuner/KxTunerDvbt.h"
#include "logging/LogFile.h"

namespace {
HRESULT CopyOut(const BStr& value, BSTR* out) { return AllocOutString(value.View(), out); }

// True when `hr` failed, after tracing it.
bool Traced(HRESULT hr, const char* expression, const char* file) {
  if (SUCCEEDED(hr)) return false;
  traceFailure(hr, expression, file);
  return true;
}

HRESULT DetachInto(Variant& var, VARIANT* pInfo) {
  const HRESULT hr = VariantCopy(pInfo, &var);
  Traced(hr, "(hr) = (var.Detach(pInfo))", "KxDigitalCaptureDevice");
  return hr;
}
}  // namespace

bool IsSpecialUsbDevice(LONG deviceType, std::u16string_view hardwareId, std::u16string_view manufacturer) {
  if (deviceType != KxCaptureDeviceType_Dvbt) return false;
  if (hardwareId.find(u"USB\\VID_18B4&PID_1689") == std::u16string_view::npos) return false;
  std::u16string upper(manufacturer);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; });
  return upper.find(u"E3C") != std::u16string::npos;
}

HRESULT CKxCaptureDevice::Initialize(IKxFilterInfo* pFilterInfo, IKxHWInfo* pHWInfo, LONG deviceType,
                                     BSTR physicalDeviceId, IKxHWConfig* pHWConfig) {
  if (!pFilterInfo || !pHWInfo || !pHWConfig) return E_POINTER;
  BStr bstrManufacturer;
  HRESULT hr = pHWInfo->get_ValueString(KxHWValueType_Manufacturer, bstrManufacturer.Put());
  if (Traced(hr, "(hr) = (pHWInfo->get_ValueString(KxHWValueType_Manufacturer, &bstrManufacturer))",
             "KxDigitalCaptureDevice"))
    return hr;
  hr = pFilterInfo->get_MonikerName(m_bstrMonikerName.Put());
  if (Traced(hr, "(hr) = (pFilterInfo->get_MonikerName(&m_bstrMonikerName))", "KxCaptureDevice")) return hr;
  hr = pFilterInfo->get_FriendlyName(m_bstrFriendlyName.Put());
  if (Traced(hr, "(hr) = (pFilterInfo->get_FriendlyName(&m_bstrFriendlyName))", "KxCaptureDevice")) return hr;
  m_bstrManufacturer = bstrManufacturer;
  hr = pHWInfo->get_ValueString(KxHWValueType_HardwareID, m_bstrHardwareID.Put());
  if (Traced(hr, "(hr) = (pHWInfo->get_ValueString(KxHWValueType_HardwareID, &m_bstrHardwareID))",
             "KxDigitalCaptureDevice"))
    return hr;
  m_deviceType = deviceType;
  m_bstrPhysicalDeviceID = BStr(std::u16string_view(physicalDeviceId ? physicalDeviceId : u"",
                                                    physicalDeviceId ? SysStringLen(physicalDeviceId) : 0));
  m_property4 = 2;
  m_property5 = 323;
  m_isSpecialUsbDevice = IsSpecialUsbDevice(m_deviceType, m_bstrHardwareID.View(), m_bstrManufacturer.View());
  m_pHWEnum = pHWConfig;
  return S_OK;
}

HRESULT CKxCaptureDevice::get_MonikerName(BSTR* name) { return CopyOut(m_bstrMonikerName, name); }
HRESULT CKxCaptureDevice::get_FriendlyName(BSTR* name) { return CopyOut(m_bstrFriendlyName, name); }
HRESULT CKxCaptureDevice::get_Manufacturer(BSTR* name) { return CopyOut(m_bstrManufacturer, name); }

HRESULT CKxCaptureDevice::get_DeviceType(LONG* type) {
  if (!type) return E_POINTER;
  *type = m_deviceType;
  return S_OK;
}

HRESULT CKxCaptureDevice::GetUsage(VARIANT_BOOL* inUse, LONG* lockLevel, VARIANT_BOOL* lockedHere) {
  if (!inUse) return E_POINTER;
  const DeviceLocks::Usage usage = DeviceLocks::Query(m_bstrMonikerName.View());
  *inUse = ToVariantBool(usage.inUse);
  if (lockLevel) *lockLevel = usage.level;
  if (lockedHere) *lockedHere = ToVariantBool(usage.lockedHere);
  return S_OK;
}

HRESULT CKxCaptureDevice::get_Property(LONG id, VARIANT* value) {
  if (!value) return E_POINTER;
  Variant var;
  switch (id) {
    case 1: var = Variant(true); break;
    case 4: var = Variant(m_property4); break;
    case 5: var = Variant(m_property5); break;
    default: return E_FAIL;
  }
  return VariantCopy(value, &var);
}

HRESULT CKxCaptureDevice::GetExtraInfo(LONG id, VARIANT* pInfo) {
  if (!pInfo) return E_POINTER;
  Variant var;
  switch (id) {
    case KxDeviceExtraInfo_PhysicalDeviceID: var = Variant(m_bstrPhysicalDeviceID.View()); break;
    case KxDeviceExtraInfo_HardwareID: var = Variant(m_bstrHardwareID.View()); break;
    case KxDeviceExtraInfo_SpecialUsbDevice: var = Variant(static_cast<int32_t>(m_isSpecialUsbDevice ? 1 : 0)); break;
    default: return E_FAIL;
  }
  return DetachInto(var, pInfo);
}

HRESULT CKxCaptureDevice::CreateGraphManager(IUnknown** graphManager) {
  return CreateGraphManager(graphManager, false);
}

template <class Manager>
HRESULT CKxCaptureDevice::CreateInitialised(const char* createText, bool forTuner, ComPtr<IKxGraphManager>* held) {
  ComObject<Manager>* pManObj = nullptr;
  HRESULT hr = ComObject<Manager>::CreateInstance(&pManObj);
  if (Traced(hr, createText, "KxCaptureDevice")) return hr;
  *held = ComPtr<IKxGraphManager>(pManObj);
  pManObj->SetHardwareEnumerator(m_pHWEnum.Get());
  hr = pManObj->Initialize(this, !forTuner);
  Traced(hr, "(hr) = (pManObj->Initialize(this, bStartObserverThread, m_pHWEnum))", "KxCaptureDevice");
  return hr;
}

HRESULT CKxCaptureDevice::CreateGraphManager(IUnknown** graphManager, bool forTuner) {
  if (!graphManager) return E_POINTER;
  *graphManager = nullptr;
  if (m_deviceType < KxCaptureDeviceType_Atsc || m_deviceType > KxCaptureDeviceType_Dvbc) return E_FAIL;
  ComPtr<IKxGraphManager> held;
  const HRESULT hr =
      m_deviceType == KxCaptureDeviceType_Dvbs
          ? CreateInitialised<CKxGraphManagerDvbs>("(hr) = (CComObject<CKxGraphManagerDvbs>::CreateInstance(&pManObj))",
                                                   forTuner, &held)
          : CreateInitialised<CKxGraphManagerDigital>(
                "(hr) = (CComObject<CKxGraphManagerDigital>::CreateInstance(&pManObj))", forTuner, &held);
  if (FAILED(hr)) return hr;
  return held->QueryInterface(IidOf<IKxGraphManager>(), reinterpret_cast<void**>(graphManager));
}

namespace {
// A tuner of class T on `graphManager`, handed out as IKxTuner.
template <class T>
HRESULT CreateTunerOf(IKxCaptureDevice* device, IKxGraphManager* graphManager, const char* expression,
                      IUnknown** tuner) {
  ComObject<T>* pTunerObj = nullptr;
  HRESULT hr = ComObject<T>::CreateInstance(&pTunerObj);
  if (Traced(hr, expression, "KxCaptureDevice")) return hr;
  ComPtr<IKxTuner> held(pTunerObj);
  hr = pTunerObj->Initialize(device, graphManager);
  if (Traced(hr, "(hr) = (pTunerObj->Initialize(this, pGraphManager))", "KxCaptureDevice")) return hr;
  return held->QueryInterface(IidOf<IKxTuner>(), reinterpret_cast<void**>(tuner));
}
}  // namespace

HRESULT CKxCaptureDevice::CreateTuner(IUnknown** tuner) {
  if (!tuner) return E_POINTER;
  *tuner = nullptr;
  ComPtr<IUnknown> created;
  HRESULT hr = CreateGraphManager(created.Put(), true);
  if (Traced(hr, "(hr) = (CreateGraphManager(&pGraphManager, true))", "KxCaptureDevice")) return hr;
  const auto graphManager = QueryAs<IKxGraphManager>(created.Get());
  switch (m_deviceType) {
    case KxCaptureDeviceType_Atsc:
      return CreateTunerOf<CKxTunerAtsc>(this, graphManager.Get(),
                                         "(hr) = (CComObject<CKxTunerAtsc>::CreateInstance(&pTunerObjAtsc))", tuner);
    case KxCaptureDeviceType_Dvbt:
      return CreateTunerOf<CKxTunerDvbt>(this, graphManager.Get(),
                                         "(hr) = (CComObject<CKxTunerDvbt>::CreateInstance(&pTunerObjDvbt))", tuner);
    case KxCaptureDeviceType_Dvbs:
      return CreateTunerOf<CKxTunerDvbs>(this, graphManager.Get(),
                                         "(hr) = (CComObject<CKxTunerDvbs>::CreateInstance(&pTunerObjDvbs))", tuner);
    case KxCaptureDeviceType_Dvbc:
      return CreateTunerOf<CKxTunerDvbc>(this, graphManager.Get(),
                                         "(hr) = (CComObject<CKxTunerDvbc>::CreateInstance(&pTunerObjDvbc))", tuner);
    default:
      log(1, "CreateTuner: no tuner is available for %s (%s)", m_bstrFriendlyName.Utf8().c_str(),
          DeviceTypeName(m_deviceType));
      return E_FAIL;
  }
}
