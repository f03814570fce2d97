#include "platform/bda/NetworkProvider.h"

#include <algorithm>

#include "platform/bda/ControlInterfaces.h"
#include "platform/bda/Topology.h"
#include "platform/bda/TunerSettings.h"
#include "platform/com/ComObject.h"

namespace {
struct ProviderClass {
  const CLSID& clsid;
  std::vector<NetworkKind> kinds;
};

const std::vector<ProviderClass>& ProviderClasses() {
  static const std::vector<ProviderClass> classes = {
      {CLSID_DVBTNetworkProvider, {NetworkKind::DvbT}},
      {CLSID_DVBCNetworkProvider, {NetworkKind::DvbC}},
      {CLSID_DVBSNetworkProvider, {NetworkKind::DvbS}},
      {CLSID_ATSCNetworkProvider, {NetworkKind::AtscAntenna, NetworkKind::AtscCable}},
      {CLSID_NetworkProvider,
       {NetworkKind::DvbT, NetworkKind::DvbC, NetworkKind::DvbS, NetworkKind::AtscAntenna, NetworkKind::AtscCable}},
  };
  return classes;
}

const ProviderClass* FindClass(const CLSID& clsid) {
  for (const ProviderClass& c : ProviderClasses())
    if (c.clsid == clsid) return &c;
  return nullptr;
}

const GUID& DemodulatorOf(NetworkKind kind) {
  switch (kind) {
    case NetworkKind::DvbT: return KSNODE_BDA_COFDM_DEMODULATOR;
    case NetworkKind::DvbC: return KSNODE_BDA_QAM_DEMODULATOR;
    case NetworkKind::DvbS: return KSNODE_BDA_QPSK_DEMODULATOR;
    case NetworkKind::AtscAntenna:
    case NetworkKind::AtscCable: break;
  }
  return KSNODE_BDA_8VSB_DEMODULATOR;
}

// What the tuner's nodes get for one tune request.
HRESULT ReadNodeValues(ITuneRequest* request, ILocator* locator, NetworkKind kind, TunerSettings& settings) {
  LONG frequency = -1, symbolRate = -1;
  ModulationType modulation = BDA_MOD_NOT_SET;
  locator->get_CarrierFrequency(&frequency);
  locator->get_SymbolRate(&symbolRate);
  locator->get_Modulation(&modulation);
  if (auto dvbt = QueryAs<IDVBTLocator>(locator)) {
    LONG bandwidth = -1;
    dvbt->get_Bandwidth(&bandwidth);
    settings.bandwidthMHz = bandwidth > 0 ? static_cast<ULONG>(bandwidth) : 0;
  }
  if (auto dvbs = QueryAs<IDVBSLocator>(locator)) dvbs->get_SignalPolarisation(&settings.polarisation);
  if (auto dvbs2 = QueryAs<IDVBSLocator2>(locator)) {
    dvbs2->get_SignalRollOff(&settings.rollOff);
    dvbs2->get_SignalPilot(&settings.pilot);
  }
  locator->get_InnerFECRate(&settings.innerFec);
  if (kind == NetworkKind::DvbS) {
    ComPtr<ITuningSpace> space;
    request->get_TuningSpace(space.Put());
    if (auto sat = QueryAs<IDVBSTuningSpace>(space.Get())) {
      LONG low = -1, high = -1, lnbSwitch = -1;
      sat->get_LowOscillator(&low);
      sat->get_HighOscillator(&high);
      sat->get_LNBSwitch(&lnbSwitch);
      settings.lnb = {low > 0 ? ULONG(low) : 0, high > 0 ? ULONG(high) : 0, lnbSwitch > 0 ? ULONG(lnbSwitch) : 0};
    }
  }
  if (kind == NetworkKind::AtscAntenna) {
    LONG channel = -1;
    if (auto atsc = QueryAs<IATSCLocator>(locator)) atsc->get_PhysicalChannel(&channel);
    if (frequency <= 0) frequency = static_cast<LONG>(AtscChannelCentreKHz(channel));
    if (modulation == BDA_MOD_NOT_SET) modulation = BDA_MOD_8VSB;
  }
  if (kind == NetworkKind::AtscCable && frequency > 0) frequency += kPictureCarrierToCentreKHz;
  if (frequency <= 0) return E_INVALIDARG;
  settings.frequencyKHz = static_cast<ULONG>(frequency);
  settings.symbolRate = symbolRate > 0 ? static_cast<ULONG>(symbolRate) : 0;
  settings.modulation = modulation;
  return S_OK;
}

// Index of the first node with `function`, or -1.
LONG FindNode(IBDA_Topology* topology, const GUID& function) {
  BDANODE_DESCRIPTOR nodes[32];
  ULONG count = 0;
  if (FAILED(topology->GetNodeDescriptors(&count, 32, nodes))) return -1;
  for (ULONG i = 0; i < count; ++i)
    if (nodes[i].guidFunction == function) return static_cast<LONG>(nodes[i].ulBdaNodeType);
  return -1;
}

template <class Control>
ComPtr<Control> NodeControl(IBDA_Topology* topology, LONG node) {
  ComPtr<IUnknown> object;
  if (node < 0 || FAILED(topology->GetControlNode(0, 1, static_cast<ULONG>(node), object.Put()))) return {};
  return QueryAs<Control>(object.Get());
}
}  // namespace

std::optional<NetworkKind> NetworkKindOf(ITuneRequest* request) {
  if (!request) return std::nullopt;
  ComPtr<ITuningSpace> space;
  if (FAILED(request->get_TuningSpace(space.Put())) || !space) return std::nullopt;
  if (auto atsc = QueryAs<IATSCTuningSpace>(space.Get())) {
    TunerInputType input = TunerInputAntenna;
    atsc->get_InputType(&input);
    return input == TunerInputCable ? NetworkKind::AtscCable : NetworkKind::AtscAntenna;
  }
  if (QueryAs<IDVBSTuningSpace>(space.Get())) return NetworkKind::DvbS;
  if (auto dvb = QueryAs<IDVBTuningSpace>(space.Get())) {
    DVBSystemType type = DVB_Terrestrial;
    dvb->get_SystemType(&type);
    if (type == DVB_Cable) return NetworkKind::DvbC;
    return type == DVB_Satellite ? NetworkKind::DvbS : NetworkKind::DvbT;
  }
  return std::nullopt;
}

CNetworkProvider::CNetworkProvider(const CLSID& clsid)
    : CBaseFilter(clsid == CLSID_NetworkProvider ? u"Vista NP" : u"Network Provider", clsid),
      m_output(this, &m_lock) {}

HRESULT CNetworkProvider::Create(const CLSID& clsid, IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  if (!FindClass(clsid)) return E_INVALIDARG;
  return ComObject<CNetworkProvider>::CreateAndQuery(filter, clsid);
}

HRESULT CNetworkProvider::OutputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return type->majortype == KSDATAFORMAT_TYPE_BDA_ANTENNA ? S_OK : S_FALSE;
}

std::vector<AM_MEDIA_TYPE> CNetworkProvider::OutputPin::OfferedMediaTypes() {
  return {AM_MEDIA_TYPE{KSDATAFORMAT_TYPE_BDA_ANTENNA, GUID_NULL, GUID_NULL, {}}};
}

HRESULT CNetworkProvider::get_TuningSpace(ITuningSpace** space) {
  if (!space) return E_POINTER;
  std::lock_guard lock(m_requestMutex);
  return m_space.CopyTo(space);
}

HRESULT CNetworkProvider::put_TuningSpace(ITuningSpace* space) {
  std::lock_guard lock(m_requestMutex);
  m_space = space;
  return S_OK;
}

HRESULT CNetworkProvider::get_TuneRequest(ITuneRequest** request) {
  if (!request) return E_POINTER;
  std::lock_guard lock(m_requestMutex);
  *request = nullptr;
  return m_request ? m_request.CopyTo(request) : E_FAIL;
}

HRESULT CNetworkProvider::Validate(ITuneRequest* request) {
  if (!request) return E_POINTER;
  const auto kind = NetworkKindOf(request);
  const ProviderClass* accepted = FindClass(ClassId());
  if (!kind || !accepted || std::find(accepted->kinds.begin(), accepted->kinds.end(), *kind) == accepted->kinds.end())
    return E_INVALIDARG;
  return S_OK;
}

HRESULT CNetworkProvider::put_TuneRequest(ITuneRequest* request) {
  const HRESULT hr = Validate(request);
  if (FAILED(hr)) return hr;
  {
    std::lock_guard lock(m_requestMutex);
    m_request = request;
    request->get_TuningSpace(m_space.Put());
  }
  return TuneConnectedTuner(request, *NetworkKindOf(request));
}

ComPtr<IBaseFilter> CNetworkProvider::ConnectedTuner() {
  ComPtr<IPin> pin;
  ComPtr<IBaseFilter> tuner;
  if (SUCCEEDED(m_output.ConnectedTo(pin.Put())) && pin) pin->QueryFilter(tuner.Put());
  return tuner;
}

HRESULT CNetworkProvider::TuneConnectedTuner(ITuneRequest* request, NetworkKind kind) {
  ComPtr<ILocator> locator;
  request->get_Locator(locator.Put());
  const ComPtr<IBaseFilter> tuner = ConnectedTuner();
  // A request without locator, or before the tuner is connected, is only kept.
  if (!locator || !tuner) return S_OK;
  TunerSettings s;
  HRESULT hr = ReadNodeValues(request, locator.Get(), kind, s);
  if (FAILED(hr)) return hr;
  const auto topology = QueryAs<IBDA_Topology>(tuner.Get());
  const auto control = QueryAs<IBDA_DeviceControl>(tuner.Get());
  if (!topology || !control) return E_NOINTERFACE;
  const LONG rfNode = FindNode(topology.Get(), KSNODE_BDA_RF_TUNER);
  const auto frequency = NodeControl<IBDA_FrequencyFilter>(topology.Get(), rfNode);
  const auto lnb = NodeControl<IBDA_LNBInfo>(topology.Get(), rfNode);
  const auto demodulator =
      NodeControl<IBDA_DigitalDemodulator2>(topology.Get(), FindNode(topology.Get(), DemodulatorOf(kind)));
  // A tuner without the demodulator of this network cannot receive it.
  if (!frequency || !demodulator) return E_INVALIDARG;
  if (FAILED(hr = control->StartChanges())) return hr;
  const HRESULT results[] = {
      frequency->put_Frequency(s.frequencyKHz),
      frequency->put_Polarity(s.polarisation),
      frequency->put_Bandwidth(s.bandwidthMHz),
      lnb ? lnb->put_LocalOscilatorFrequencyLowBand(s.lnb.lowKHz) : S_OK,
      lnb ? lnb->put_LocalOscilatorFrequencyHighBand(s.lnb.highKHz) : S_OK,
      lnb ? lnb->put_HighLowSwitchFrequency(s.lnb.switchKHz) : S_OK,
      demodulator->put_ModulationType(s.modulation),
      demodulator->put_InnerFECRate(s.innerFec),
      demodulator->put_RollOff(s.rollOff),
      demodulator->put_Pilot(s.pilot),
      demodulator->put_SymbolRate(s.symbolRate),
      demodulator->put_SpectralInversion(BDA_SPECTRAL_INVERSION_AUTOMATIC),
  };
  for (HRESULT r : results)
    if (FAILED(r)) return r;
  if (FAILED(hr = control->CheckChanges())) return hr;
  return control->CommitChanges();
}

HRESULT CNetworkProvider::get_SignalStrength(LONG* strength) {
  if (!strength) return E_POINTER;
  const ComPtr<IBaseFilter> tuner = ConnectedTuner();
  const auto topology = QueryAs<IBDA_Topology>(tuner.Get());
  if (!topology) return VFW_E_NOT_CONNECTED;
  const auto statistics =
      NodeControl<IBDA_SignalStatistics>(topology.Get(), FindNode(topology.Get(), KSNODE_BDA_RF_TUNER));
  return statistics ? statistics->get_SignalStrength(strength) : E_NOINTERFACE;
}
