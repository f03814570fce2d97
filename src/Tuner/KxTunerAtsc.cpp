#include "Tuner/KxTunerAtsc.h"

#include <map>

#include "common/TuneRequestHelper.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "logging/LogFile.h"
#include "platform/bda/BdaTypes.h"

namespace {
static constexpr const char* kLogFile = "KxTunerAtsc";
constexpr LONG kFirstPhysicalChannel = 2;
constexpr LONG kLastPhysicalChannel = 69;
constexpr LONG kAtscTvService = 2;
constexpr LONG kAtscAudioService = 3;

// The analog picture carriers of the cable channels (kHz); the network
// provider tunes the centre of each 6 MHz channel, 1750 kHz above.
std::vector<LONG> CableFrequencies() {
  std::vector<LONG> frequencies;
  for (LONG f = 55250; f <= 73250; f += 6000) frequencies.push_back(f);
  frequencies.push_back(77250);
  frequencies.push_back(83250);
  for (LONG f = 91250; f <= 997250; f += 6000) frequencies.push_back(f);
  return frequencies;
}

// The tuner input type of a tune request: the platform numbers cable 0 and antenna 1.
LONG TunerInputTypeOf(LONG input) {
  if (input == CKxTunerAtsc::Input_Antenna) return TunerInputAntenna;
  if (input == CKxTunerAtsc::Input_Cable) return TunerInputCable;
  return -1;
}
}  // namespace

CKxTunerAtsc::~CKxTunerAtsc() { StopWorker(); }

HRESULT CKxTunerAtsc::put_TunerInput(LONG input) {
  m_eInput = input;
  return S_OK;
}

HRESULT CKxTunerAtsc::LoadFrequencyList() {
  if (m_eInput == Input_Antenna) {
    for (LONG channel = kFirstPhysicalChannel; channel <= kLastPhysicalChannel; ++channel) {
      KxScanRecord record;
      record.nPhysicalChannel = channel;
      AppendRecord(record);
    }
  } else if (m_eInput == Input_Cable) {
    for (LONG frequency : CableFrequencies()) {
      for (LONG modulation : {BDA_MOD_64QAM, BDA_MOD_256QAM}) {
        KxScanRecord record;
        record.nFrequency = frequency;
        record.nModulation = modulation;
        AppendRecord(record);
      }
    }
  }
  return S_OK;
}

LONG CKxTunerAtsc::GetCurrentFrequency() {
  KxScanRecord tp;
  if (FAILED(GetTuningParam(CurrentIndex(), tp))) return -1;
  return m_eInput == Input_Cable ? tp.nFrequency : tp.nPhysicalChannel;
}

HRESULT CKxTunerAtsc::CreateTuneRequest(ITuneRequest** request) {
  KxScanRecord tp;
  RETURN_IF_FAILED(GetTuningParam(CurrentIndex(), tp));
  const KxTuningInfo info = TuningInfoOf(tp);
  if (m_eInput == Input_Cable) {
    log(1, "Create ATSC CABLE tune request");
    RETURN_IF_FAILED(CTuneRequestHelper<AtscNetworkCable>::CreateTuneRequest(request, &info));
  } else {
    log(1, "Create ATSC ANTENNA tune request");
    RETURN_IF_FAILED(CTuneRequestHelper<AtscNetworkAntenna>::CreateTuneRequest(request, &info));
  }
  log(1, "Tuned ATSC: Physical channel=%d, freq=%d, modulation=%d", static_cast<int>(tp.nPhysicalChannel),
      static_cast<int>(tp.nFrequency), static_cast<int>(tp.nModulation));
  return S_OK;
}

HRESULT CKxTunerAtsc::ExecutePluginTuneRequest(const KxScanRecord& tp) {
  KxDPTuneRequestParam param = EmptyTuneRequestParam();
  param.physicalChannel = tp.nPhysicalChannel;
  param.carrierFrequency = tp.nFrequency;
  param.modulation = tp.nModulation;
  param.atscNetworkType = TunerInputTypeOf(m_eInput);
  log(1,
      "Execute Command Tune Request ATSC. Physical Channel: %d, Frequency: %d, Modulation: %d, Tuner Input Type: %d",
      static_cast<int>(tp.nPhysicalChannel), static_cast<int>(tp.nFrequency), static_cast<int>(tp.nModulation),
      static_cast<int>(param.atscNetworkType));
  return ExecuteDevicePluginCommand(KxExtraInfoType_FindDevicePlugin_CommandTuneRequestAtsc,
                                    KxCaptureDeviceType_Atsc, param);
}

HRESULT CKxTunerAtsc::CheckChannel(IChannel* channel, bool* valid) {
  if (!channel || !valid) return E_POINTER;
  LONG type = -1;
  BStr name;
  RETURN_IF_FAILED(channel->get_ServiceType(&type));
  RETURN_IF_FAILED(channel->get_ChannelName(name.Put()));
  *valid = (type == kAtscTvService || type == kAtscAudioService) && name.Length() > 0;
  return S_OK;
}

HRESULT CKxTunerAtsc::SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* object) {
  if (!channel || !object) return E_POINTER;
  LONG value = -1;
  RETURN_IF_FAILED(channel->get_SourceId(&value));
  RETURN_IF_FAILED(object->put_SourceId(value));
  RETURN_IF_FAILED(object->put_CarrierFrequency(tp.nFrequency));
  RETURN_IF_FAILED(object->put_Modulation(tp.nModulation));
  RETURN_IF_FAILED(channel->get_SymbolRate(&value));
  RETURN_IF_FAILED(object->put_SymbolRate(value));
  RETURN_IF_FAILED(object->put_PhysicalChannel(tp.nPhysicalChannel));
  RETURN_IF_FAILED(channel->get_MinorChannelNumber(&value));
  RETURN_IF_FAILED(object->put_MinorChannel(value));
  RETURN_IF_FAILED(channel->get_MajorChannelNumber(&value));
  RETURN_IF_FAILED(object->put_MajorChannel(value));
  RETURN_IF_FAILED(channel->get_ChannelTsId(&value));
  RETURN_IF_FAILED(object->put_ChannelTsId(value));
  LONG serviceType = -1;
  RETURN_IF_FAILED(channel->get_ServiceType(&serviceType));
  RETURN_IF_FAILED(object->put_ServiceType(serviceType));
  if (serviceType == kAtscTvService) RETURN_IF_FAILED(object->put_Type(KxChannelType_AtscTv));
  if (serviceType == kAtscAudioService) RETURN_IF_FAILED(object->put_Type(KxChannelType_AtscRadio));
  RETURN_IF_FAILED(object->put_InputSource(m_eInput));
  std::map<LONG, LONG> streamTypes;
  RETURN_IF_FAILED(AddClassifiedPids(channel, object, &streamTypes));
  BStr provider;
  RETURN_IF_FAILED(channel->get_ServiceProvider(provider.Put()));
  if (provider.Length() > 0) RETURN_IF_FAILED(object->put_ServiceProviderName(provider.Get()));
  RETURN_IF_FAILED(channel->get_PcrPid(&value));
  RETURN_IF_FAILED(object->put_Property(BStr(u"PcrPid").Get(), Variant(static_cast<int32_t>(value))));
  RETURN_IF_FAILED(channel->get_TransportStreamId(&value));
  RETURN_IF_FAILED(object->put_TransportStreamId(value));
  RETURN_IF_FAILED(object->put_Property(BStr(u"InnerFec").Get(), Variant(int32_t{-1})));
  RETURN_IF_FAILED(object->put_Property(BStr(u"OuterFec").Get(), Variant(int32_t{-1})));
  return S_OK;
}
