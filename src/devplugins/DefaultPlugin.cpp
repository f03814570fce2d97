#include "devplugins/DefaultPlugin.h"

#include "common/TuneRequestHelper.h"
#include "devplugins/ReturnVariant.h"
#include "logging/LogFile.h"
#include "platform/bda/Topology.h"

namespace {
constexpr const char* kLogFile = "DefaultPlugin";
constexpr char16_t kDescription[] = u"{9D9514BF-F1B6-478b-AF00-C09E974DDD6C}_Default_Plugin";
constexpr char16_t kManufacturer[] = u"{9D9514BF-F1B6-478b-AF00-C09E974DDD6C}_Vexa";
constexpr ULONG kMaxNodeTypes = 32;

// put_Range values of the DiSEqC inputs: bit 0 the position, bit 8 the option.
constexpr ULONG kDiseqcRanges[] = {0, 1, 256, 257};

ComPtr<IUnknown> SetupFilter(IKxDPSetup* pSetup, LONG property, const char* expression) {
  Variant var;
  const HRESULT hr = pSetup->get_Property(property, &var);
  traceFailure(hr, expression, kLogFile);
  if (FAILED(hr) || var.vt != VT_UNKNOWN) return {};
  return ComPtr<IUnknown>(var.punkVal);
}

ComPtr<IBDA_FrequencyFilter> FindFrequencyFilter(IUnknown* tunerFilter) {
  const auto pTopology = QueryAs<IBDA_Topology>(tunerFilter);
  if (!pTopology) return {};
  ULONG nodeTypes[kMaxNodeTypes];
  ULONG count = 0;
  if (FAILED(pTopology->GetNodeTypes(&count, kMaxNodeTypes, nodeTypes))) return {};
  for (ULONG i = 0; i < count && i < kMaxNodeTypes; ++i) {
    ComPtr<IUnknown> pControlNode;
    if (FAILED(pTopology->GetControlNode(0, 1, nodeTypes[i], pControlNode.Put()))) continue;
    if (auto pFrequencyFilter = QueryAs<IBDA_FrequencyFilter>(pControlNode.Get())) return pFrequencyFilter;
  }
  return {};
}

void LogServiceIds(const DvbServiceIds& ids) { log(1, "NID: %d, SID: %d, TID: %d", ids.nid, ids.sid, ids.tid); }
}  // namespace

HRESULT CDefaultPlugin::CreateInstance(IKxDevicePlugin** out) {
  if (!out) return E_POINTER;
  return ComObject<CDefaultPlugin>::CreateAndQuery(out);
}

HRESULT CDefaultPlugin::Init(IKxDPSetup* setup) {
  // A new setup belongs to a new graph: its filters are found afresh.
  DropGraphInterfaces();
  m_pSetup = setup;
  return S_OK;
}

HRESULT CDefaultPlugin::Uninit() {
  DropGraphInterfaces();
  m_pSetup.Reset();
  return S_OK;
}

void CDefaultPlugin::DropGraphInterfaces() {
  m_pTuner.Reset();
  m_pFrequencyFilter.Reset();
  m_pDeviceControl.Reset();
}

HRESULT CDefaultPlugin::get_Capabilities(LONG* caps) {
  if (!caps) return E_POINTER;
  *caps = kCapabilities;
  return S_OK;
}

HRESULT CDefaultPlugin::get_Description(BSTR* text) { return AllocOutString(kDescription, text); }

HRESULT CDefaultPlugin::get_Manufacturer(BSTR* text) { return AllocOutString(kManufacturer, text); }

HRESULT CDefaultPlugin::get_Property(LONG id, VARIANT* value) {
  if (!value) return E_POINTER;
  if (id != 0 && id != 1) return E_FAIL;
  Variant var(static_cast<int32_t>(id == 0 ? 2 : 15));
  ReturnVariant(var, value);
  return S_OK;
}

void CDefaultPlugin::InitPlugin() {
  if ((m_pTuner && m_pFrequencyFilter && m_pDeviceControl) || !m_pSetup) return;
  if (!m_pTuner) {
    const auto provider = SetupFilter(m_pSetup.Get(), KxDPSetupProperty_NetworkProviderFilter,
                                      "(hr) = (m_pSetup->get_Property(KxDPSetupProperty_NetworkProviderFilter, &var))");
    m_pTuner = QueryAs<ITuner>(provider.Get());
  }
  if (!m_pFrequencyFilter || !m_pDeviceControl) {
    const auto tuner = SetupFilter(m_pSetup.Get(), KxDPSetupProperty_TunerFilter,
                                   "(hr) = (m_pSetup->get_Property(KxDPSetupProperty_TunerFilter, &var))");
    if (!m_pFrequencyFilter) m_pFrequencyFilter = FindFrequencyFilter(tuner.Get());
    if (!m_pDeviceControl) m_pDeviceControl = QueryAs<IBDA_DeviceControl>(tuner.Get());
  }
}

HRESULT CDefaultPlugin::SwitchDiseqc(LONG position) {
  if (position < 0) return S_FALSE;
  if (position >= static_cast<LONG>(std::size(kDiseqcRanges))) return E_INVALIDARG;
  InitPlugin();
  if (!m_pFrequencyFilter || !m_pDeviceControl) return E_NOINTERFACE;
  RETURN_IF_FAILED(m_pDeviceControl->StartChanges());
  RETURN_IF_FAILED(m_pFrequencyFilter->put_Range(kDiseqcRanges[position]));
  RETURN_IF_FAILED(m_pDeviceControl->CheckChanges());
  log(1, "Default plugin: DiSEqC Command SUCCESS");
  return S_OK;
}

template <class Network>
HRESULT CDefaultPlugin::CreateTuneRequest(const KxTuningInfo& info, ITuneRequest** request) {
  InitPlugin();
  if (!m_pTuner) {
    traceFailure(E_NOINTERFACE, "(hr) = (m_pSetup->get_Property(KxDPSetupProperty_NetworkProviderFilter, &var))",
                 kLogFile);
    return E_NOINTERFACE;
  }
  RETURN_IF_FAILED(CTuneRequestHelper<Network>::CreateTuneRequest(request, &info));
  return S_OK;
}

template <class Network>
HRESULT CDefaultPlugin::PutDvbTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids) {
  ComPtr<ITuneRequest> pTuneRequest;
  RETURN_IF_FAILED(CreateTuneRequest<Network>(info, pTuneRequest.Put()));
  const auto pDvbTuneRequest = QueryAs<IDVBTuneRequest>(pTuneRequest.Get());
  if (!pDvbTuneRequest) return E_NOINTERFACE;
  if (ids.nid != -1) RETURN_IF_FAILED(pDvbTuneRequest->put_ONID(ids.nid));
  if (ids.sid != -1) RETURN_IF_FAILED(pDvbTuneRequest->put_SID(ids.sid));
  if (ids.tid != -1) RETURN_IF_FAILED(pDvbTuneRequest->put_TSID(ids.tid));
  RETURN_IF_FAILED(m_pTuner->put_TuneRequest(pTuneRequest.Get()));
  return S_OK;
}

HRESULT CDefaultPlugin::PutDvbsTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids) {
  RETURN_IF_FAILED(PutDvbTuneRequest<DvbsNetwork>(info, ids));
  log(1, "CDefaultPlugin: put tune request DVB-S. Frequency: %d, SR: %d, polarization: %d", info.nFrequency,
      info.nSymbolRate, info.nPolarisation);
  LogServiceIds(ids);
  return S_OK;
}

HRESULT CDefaultPlugin::PutDvbcTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids) {
  RETURN_IF_FAILED(PutDvbTuneRequest<DvbcNetwork>(info, ids));
  log(1, "CDefaultPlugin: put channel DVB-C. Frequency: %d, SR: %d, modulation: %d", info.nFrequency,
      info.nSymbolRate, info.nModulation);
  LogServiceIds(ids);
  return S_OK;
}

HRESULT CDefaultPlugin::PutDvbtTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids) {
  RETURN_IF_FAILED(PutDvbTuneRequest<DvbtNetwork>(info, ids));
  log(1, "CDefaultPlugin: put tune request DVB-T. Frequency: %d, bandwidth: %d", info.nFrequency, info.nBandwidth);
  LogServiceIds(ids);
  return S_OK;
}

HRESULT CDefaultPlugin::PutAtscTuneRequest(const KxTuningInfo& info, LONG networkType, LONG major, LONG minor) {
  ComPtr<ITuneRequest> pTuneRequest;
  switch (networkType) {
    case 0: RETURN_IF_FAILED(CreateTuneRequest<AtscNetworkCable>(info, pTuneRequest.Put())); break;
    case 1: RETURN_IF_FAILED(CreateTuneRequest<AtscNetworkAntenna>(info, pTuneRequest.Put())); break;
    default: return E_FAIL;
  }
  const auto pAtscTuneRequest = QueryAs<IATSCChannelTuneRequest>(pTuneRequest.Get());
  if (!pAtscTuneRequest) return E_NOINTERFACE;
  if (major != -1) RETURN_IF_FAILED(pAtscTuneRequest->put_Channel(major));
  if (minor != -1) RETURN_IF_FAILED(pAtscTuneRequest->put_MinorChannel(minor));
  RETURN_IF_FAILED(m_pTuner->put_TuneRequest(pTuneRequest.Get()));
  log(1,
      "CDefaultPlugin: put tune request ATSC. Physical channel: %d, frequency: %d, tuner input type: %d, major "
      "channel: %d, minor channel: %d",
      info.nPhysicalChannel, info.nFrequency, networkType, major, minor);
  return S_OK;
}
