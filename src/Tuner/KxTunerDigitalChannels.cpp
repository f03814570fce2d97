// The services a channel search found, turned into host channel objects.
#include <map>
#include <string>

#include "Channel/LanguageCode.h"
#include "Tuner/DvbServiceTypes.h"
#include "Tuner/KxTunerDigital.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
static constexpr const char* kLogFile = "KxTunerDigital";

bool HasText(const BStr& text) { return text.Length() > 0; }
}  // namespace

HRESULT CKxTunerDigital::CreateChannels(IChannels* channels, const KxScanRecord& tp) {
  if (!channels) return E_POINTER;
  LONG count = 0;
  RETURN_IF_FAILED(channels->get_Count(&count));
  for (LONG i = 0; i < count && !StopRequested(); ++i) {
    ComPtr<IChannel> channel;
    HRESULT hr = channels->get_Item(i, channel.Put());
    traceFailure(hr, "(hr) = (pChannels->get_Item(l, &pChannel))", kLogFile);
    if (FAILED(hr)) continue;
    bool valid = false;
    hr = CheckChannel(channel.Get(), &valid);
    traceFailure(hr, "(hr) = (CheckChannel(pChannel, bValid))", kLogFile);
    if (FAILED(hr) || !valid) continue;
    traceFailure(CreateChannel(channel.Get(), tp), "(hr) = (CreateChannel(pChannel, tp))", kLogFile);
  }
  return S_OK;
}

HRESULT CKxTunerDigital::CheckChannel(IChannel* channel, bool* valid) {
  if (!channel || !valid) return E_POINTER;
  LONG type = -1;
  BStr name;
  RETURN_IF_FAILED(channel->get_ServiceType(&type));
  RETURN_IF_FAILED(channel->get_ChannelName(name.Put()));
  *valid = (IsDvbTvService(type) || IsDvbRadioService(type)) && HasText(name);
  return S_OK;
}

HRESULT CKxTunerDigital::CreateChannel(IChannel* channel, const KxScanRecord& tp) {
  auto object = ComObject<CKxChannel>::Make();
  if (!object) {
    traceFailure(E_OUTOFMEMORY, "(hr) = (CComObject<CKxChannel>::CreateInstance(&pChannelObj))", kLogFile);
    return E_OUTOFMEMORY;
  }
  BStr name;
  RETURN_IF_FAILED(channel->get_ChannelName(name.Put()));
  RETURN_IF_FAILED(object->put_Title(name.Get()));
  log(1, "Channel name: %s", name.Utf8().c_str());
  boolean isCa = 0;
  RETURN_IF_FAILED(channel->get_IsCa(&isCa));
  RETURN_IF_FAILED(object->put_Scrambled(ToVariantBool(isCa != 0)));
  RETURN_IF_FAILED(object->put_VideoDevice(m_bstrMonikerName.Get()));
  LONG programNumber = -1;
  RETURN_IF_FAILED(channel->get_ProgramNumber(&programNumber));
  RETURN_IF_FAILED(object->put_ProgramNumber(programNumber));
  RETURN_IF_FAILED(SetChannelData(channel, tp, object.Get()));
  const auto extended = QueryAs<IKxChannelEx>(static_cast<IKxChannelEx*>(object.Get()));
  if (!extended) return E_NOINTERFACE;
  const BStr quality(u"SignalQuality");
  RETURN_IF_FAILED(extended->put_Property(quality.Get(), Variant(static_cast<int32_t>(m_lCurrSignalQuality))));
  if (const auto callback = Callback()) callback->OnChannelFound(m_bstrMonikerName.Get(), extended.Get());
  return S_OK;
}

HRESULT CKxTunerDigital::AddClassifiedPids(IChannel* channel, CKxChannel* object, std::map<LONG, LONG>* streamTypes) {
  LONG count = 0;
  RETURN_IF_FAILED(channel->get_NumberOfPids(&count));
  for (LONG i = 0; i < count; ++i) {
    LONG pid = 0, streamType = 0, classification = 0;
    RETURN_IF_FAILED(channel->GetPidInfo(i, &pid, &streamType, &classification));
    (*streamTypes)[pid] = streamType;
    switch (classification) {
      case 2: object->AddVideoPid(pid, streamType); break;
      case 3: object->AddAudioPid(pid, streamType, u"", false); break;
      case 4: object->AddTeletextPid(pid, streamType, u"", -1, -1, -1); break;
      case 1: object->AddPmtPid(pid); break;
      default: object->AddOtherPid(pid, streamType); break;
    }
  }
  return S_OK;
}

HRESULT CKxTunerDigital::PutDvbChannelType(IChannel* channel, CKxChannel* object, LONG tvType, LONG radioType) {
  LONG serviceType = -1;
  RETURN_IF_FAILED(channel->get_ServiceType(&serviceType));
  if (IsDvbTvService(serviceType)) RETURN_IF_FAILED(object->put_Type(tvType));
  if (IsDvbRadioService(serviceType)) RETURN_IF_FAILED(object->put_Type(radioType));
  return S_OK;
}

HRESULT CKxTunerDigital::ForEachAnnouncedTransponder(ITransponderFrequencies* frequencies,
                                                     const std::function<HRESULT(ITransponderFrequency*)>& visit) {
  LONG count = 0;
  RETURN_IF_FAILED(frequencies->get_Count(&count));
  for (LONG i = 0; i < count; ++i) {
    ComPtr<ITransponderFrequency> frequency;
    RETURN_IF_FAILED(frequencies->get_Item(i, frequency.Put()));
    RETURN_IF_FAILED(visit(frequency.Get()));
  }
  return S_OK;
}

HRESULT CKxTunerDigital::SetChannelData(IChannel* channel, const KxScanRecord& tp, CKxChannel* object) {
  if (!channel || !object) return E_POINTER;
  LONG value = -1;
  RETURN_IF_FAILED(channel->get_ServiceId(&value));
  RETURN_IF_FAILED(object->put_ServiceId(value));
  RETURN_IF_FAILED(channel->get_TransportStreamId(&value));
  RETURN_IF_FAILED(object->put_TransportStreamId(value));
  RETURN_IF_FAILED(channel->get_OriginalNetworkId(&value));
  RETURN_IF_FAILED(object->put_NetworkId(value));

  BStr text;
  RETURN_IF_FAILED(channel->get_NetworkName(text.Put()));
  if (HasText(text)) RETURN_IF_FAILED(object->put_Property(BStr(u"NetworkName").Get(), Variant(text.View())));

  RETURN_IF_FAILED(object->put_CarrierFrequency(tp.nFrequency));
  RETURN_IF_FAILED(object->put_SymbolRate(tp.nSymbolRate));
  RETURN_IF_FAILED(object->put_Modulation(tp.nModulation));

  RETURN_IF_FAILED(channel->get_Running(&value));
  RETURN_IF_FAILED(object->put_Property(BStr(u"RunningState").Get(), Variant(static_cast<int32_t>(value))));
  RETURN_IF_FAILED(channel->get_PcrPid(&value));
  RETURN_IF_FAILED(object->put_Property(BStr(u"PcrPid").Get(), Variant(static_cast<int32_t>(value))));

  LONG serviceType = -1;
  RETURN_IF_FAILED(channel->get_ServiceType(&serviceType));
  RETURN_IF_FAILED(object->put_ChannelFlags(ChannelFlagsOfServiceType(serviceType)));
  RETURN_IF_FAILED(object->put_ServiceType(serviceType));

  // The PIDs by classification, then what the audio and teletext records add.
  std::map<LONG, LONG> streamTypes;
  RETURN_IF_FAILED(AddClassifiedPids(channel, object, &streamTypes));
  LONG count = 0;
  RETURN_IF_FAILED(channel->get_NumberOfAudio(&count));
  for (LONG i = 0; i < count; ++i) {
    LONG pid = 0;
    uint8_t language[3] = {};
    boolean ac3 = 0;
    RETURN_IF_FAILED(channel->GetAudioInfo(i, &pid, language, &ac3));
    object->AddAudioPid(pid, streamTypes[pid], LanguageText(language), ac3 != 0);
  }
  RETURN_IF_FAILED(channel->get_NumberOfTeletextInfo(&count));
  for (LONG i = 0; i < count; ++i) {
    LONG pid = 0, type = 0, magazine = 0, page = 0;
    uint8_t language[3] = {};
    RETURN_IF_FAILED(channel->GetTeletextInfo(i, &pid, language, &type, &magazine, &page));
    object->AddTeletextPid(pid, streamTypes[pid], LanguageText(language), type, magazine, page);
  }
  RETURN_IF_FAILED(channel->get_PmtPid(&value));
  if (value > 0) object->AddPmtPid(value);

  RETURN_IF_FAILED(channel->get_ServiceProvider(text.Put()));
  if (HasText(text)) RETURN_IF_FAILED(object->put_ServiceProviderName(text.Get()));
  RETURN_IF_FAILED(channel->get_VideoStreamType(&value));
  RETURN_IF_FAILED(object->put_Property(BStr(u"VideoStreamType").Get(), Variant(static_cast<int32_t>(value))));
  return S_OK;
}
