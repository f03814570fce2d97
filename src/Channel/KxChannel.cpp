#include "Channel/KxChannel.h"

#include <array>
#include <utility>

#include "Channel/PidInfoRecord.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "KxChannel";

using LongGetter = HRESULT (IKxChannel::*)(LONG*);

struct ComparedField {
  LongGetter getter;
  const char* trace;
};

#define COMPARED_FIELD(name) \
  ComparedField { &IKxChannel::name, "(hr) = (pOther->" #name "(&lValue))" }

constexpr std::array kComparedFields = {
    COMPARED_FIELD(get_Type),
    COMPARED_FIELD(get_ProgramNumber),
    COMPARED_FIELD(get_CountryCode),
    COMPARED_FIELD(get_InputSource),
    COMPARED_FIELD(get_AnalogInputType),
    COMPARED_FIELD(get_TunerMode),
    COMPARED_FIELD(get_CarrierFrequency),
    COMPARED_FIELD(get_Bandwidth),
    COMPARED_FIELD(get_NetworkId),
    COMPARED_FIELD(get_ServiceId),
    COMPARED_FIELD(get_TransportStreamId),
    COMPARED_FIELD(get_Modulation),
    COMPARED_FIELD(get_SymbolRate),
    COMPARED_FIELD(get_SignalPolarisation),
    COMPARED_FIELD(get_ServiceType),
    COMPARED_FIELD(get_PhysicalChannel),
    COMPARED_FIELD(get_MajorChannel),
    COMPARED_FIELD(get_MinorChannel),
    COMPARED_FIELD(get_ChannelFlags),
    COMPARED_FIELD(get_LnbPosition),
};
#undef COMPARED_FIELD

constexpr std::array<const char16_t*, 4> kComparedProperties = {u"HighOscillator", u"LowOscillator", u"LnbSwitch",
                                                                u"VideoStreamType"};

HRESULT Traced(HRESULT hr, const char* expression) {
  traceFailure(hr, expression, kLogFile);
  return hr;
}

// Compares the PID lists as each channel hands them out.
HRESULT ComparePids(IKxChannel* pThis, IKxChannel* pOther, bool* pbEqual) {
  LONG lCount = 0;
  LONG lOtherCount = 0;
  RETURN_IF_FAILED(pThis->get_PidInfoCount(&lCount));
  RETURN_IF_FAILED(pOther->get_PidInfoCount(&lOtherCount));
  *pbEqual = lCount == lOtherCount;
  for (LONG l = 0; *pbEqual && l < lCount; ++l) {
    ComPtr<IKxPidInfo> pInfo;
    ComPtr<IKxPidInfo> pOtherInfo;
    RETURN_IF_FAILED(pThis->get_PidInfoByIndex(l, pInfo.Put()));
    RETURN_IF_FAILED(pOther->get_PidInfoByIndex(l, pOtherInfo.Put()));
    ChannelPidRecord record;
    ChannelPidRecord otherRecord;
    RETURN_IF_FAILED(ReadPidInfo(pInfo.Get(), &record));
    RETURN_IF_FAILED(ReadPidInfo(pOtherInfo.Get(), &otherRecord));
    *pbEqual = record == otherRecord;
  }
  return S_OK;
}
}  // namespace

HRESULT CKxChannel::get_IsRadio(VARIANT_BOOL* p) {
  const bool radio = m_lType >= 1 && m_lType <= 9 && m_lType % 2 == 1;
  return GetProperty(p, ToVariantBool(radio));
}

HRESULT CKxChannel::get_IsTv(VARIANT_BOOL* p) {
  const bool tv = m_lType >= 2 && m_lType <= 10 && m_lType % 2 == 0;
  return GetProperty(p, ToVariantBool(tv));
}

LONG* CKxChannel::NamedInteger(std::u16string_view name) {
  const std::pair<std::u16string_view, LONG*> table[] = {
      {u"InnerFec", &m_lInnerFec},
      {u"OuterFec", &m_lOuterFec},
      {u"RunningState", &m_lRunningState},
      {u"PcrPid", &m_lPcrPid},
      {u"Pilot", &m_lPilot},
      {u"Rolloff", &m_lRolloff},
      {u"SignalQuality", &m_lSignalQuality},
      {u"HighOscillator", &m_lHighOscillator},
      {u"LowOscillator", &m_lLowOscillator},
      {u"LnbSwitch", &m_lLnbSwitch},
      {u"VideoStreamType", &m_lVideoStreamType},
  };
  for (const auto& [entry, field] : table) {
    if (entry == name) return field;
  }
  return nullptr;
}

namespace {
constexpr std::u16string_view kNetworkName = u"NetworkName";
}

HRESULT CKxChannel::put_Property(BSTR bstrName, VARIANT value) {
  if (!bstrName) return E_POINTER;
  const std::u16string_view name(bstrName, SysStringLen(bstrName));
  Variant converted;
  if (name == kNetworkName) {
    RETURN_IF_FAILED(VariantChangeType(&converted, &value, 0, VT_BSTR));
    return AssignBStr(m_bstrNetworkName, converted.bstrVal);
  }
  LONG* field = NamedInteger(name);
  if (!field) return E_INVALIDARG;
  RETURN_IF_FAILED(VariantChangeType(&converted, &value, 0, VT_I4));
  *field = converted.lVal;
  return S_OK;
}

HRESULT CKxChannel::get_Property(BSTR bstrName, VARIANT* pValue) {
  if (!bstrName || !pValue) return E_POINTER;
  const std::u16string_view name(bstrName, SysStringLen(bstrName));
  // The out variant arrives initialised and may hold an earlier value.
  VariantClear(pValue);
  if (name == kNetworkName) {
    RETURN_IF_FAILED(m_bstrNetworkName.CopyTo(&pValue->bstrVal));
    pValue->vt = VT_BSTR;
    return S_OK;
  }
  const LONG* field = NamedInteger(name);
  if (!field) return E_INVALIDARG;
  pValue->vt = VT_I4;
  pValue->lVal = *field;
  return S_OK;
}

HRESULT CKxChannel::IsEqual(IKxChannel* pOther) {
  if (!pOther) return E_POINTER;
  bool equal = true;
  for (const ComparedField& field : kComparedFields) {
    LONG lValue = 0;
    LONG lOwn = 0;
    if (HRESULT hr = (pOther->*field.getter)(&lValue); FAILED(hr)) return Traced(hr, field.trace);
    (this->*field.getter)(&lOwn);
    equal = equal && lValue == lOwn;
  }

  BStr bstrVideoDevice;
  RETURN_IF_FAILED(pOther->get_VideoDevice(bstrVideoDevice.Put()));
  equal = equal && bstrVideoDevice.Length() > 0 && bstrVideoDevice.View() == m_bstrVideoDevice.View();

  ComPtr<IKxChannelEx> pOtherEx = QueryAs<IKxChannelEx>(pOther);
  if (!pOtherEx) return Traced(E_NOINTERFACE, "(hr) = (pOther->QueryInterface(&pOtherEx))");
  for (const char16_t* name : kComparedProperties) {
    BStr bstrName{std::u16string_view(name)};
    Variant value;
    Variant own;
    RETURN_IF_FAILED(pOtherEx->get_Property(bstrName.Get(), &value));
    get_Property(bstrName.Get(), &own);
    equal = equal && value.vt == VT_I4 && value.lVal == own.lVal;
  }

  bool pidsEqual = false;
  RETURN_IF_FAILED(ComparePids(this, pOther, &pidsEqual));
  return equal && pidsEqual ? S_OK : S_FALSE;
}

HRESULT CKxChannel::Clone(IKxChannel** ppClone) {
  if (!ppClone) return E_POINTER;
  *ppClone = nullptr;
  ComObject<CKxChannel>* pNewObj = nullptr;
  HRESULT hr = ComObject<CKxChannel>::CreateInstance(&pNewObj, static_cast<const CKxChannelInternal&>(*this));
  if (FAILED(hr)) return Traced(hr, "(hr) = (CComObject<CKxChannel>::CreateInstance(&pNewObj))");
  const ComPtr<ComObject<CKxChannel>> pHolder(pNewObj);
  return pHolder->QueryInterface(IidOf<IKxChannel>(), reinterpret_cast<void**>(ppClone));
}
