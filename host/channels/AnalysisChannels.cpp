#include "channels/AnalysisChannels.h"

#include <fmt/format.h>

#include "channels/ChannelProperties.h"
#include "channels/DeliverySystem.h"
#include "channels/DeliveryUnits.h"
#include "channels/PidInfoObjects.h"
#include "platform/com/Utf.h"

namespace {
std::string LanguageOf(const LanguageChars& language) {
  if (language == LanguageChars{}) return {};
  return std::string(language.begin(), language.end());
}

LONG StreamTypeOf(const CChannel& c, uint16_t pid) {
  for (const PidRecord& p : c.m_vPids)
    if (p.pid == pid) return p.stream_type;
  return 0;
}

void Add(IKxChannel* channel, const ComPtr<IKxPidInfo>& info) {
  if (info) channel->AddPidInfo(info.Get());
}

// As a scan does: every PID by its kind, then the languages of audio and
// teletext, then the PMT.
void AddPids(IKxChannel* channel, const CChannel& c) {
  for (const PidRecord& p : c.m_vPids) {
    switch (p.classification) {
      case PsiRenderer_StreamType_Video: Add(channel, VideoPidInfo(p.pid, p.stream_type)); break;
      case PsiRenderer_StreamType_Audio: Add(channel, AudioPidInfo(p.pid, p.stream_type, "", false)); break;
      case PsiRenderer_StreamType_Teletext:
        Add(channel, TeletextPidInfo(p.pid, p.stream_type, "", -1, -1, -1));
        break;
      case PsiRenderer_StreamType_Pmt: Add(channel, PmtPidInfo(p.pid)); break;
      default: Add(channel, OtherPidInfo(p.pid, p.stream_type)); break;
    }
  }
  for (const AudioRecord& a : c.m_vAudio)
    Add(channel, AudioPidInfo(a.pid, StreamTypeOf(c, a.pid), LanguageOf(a.language), a.ac3 != 0));
  for (const TeletextRecord& t : c.m_vTeletext)
    Add(channel, TeletextPidInfo(t.pid, StreamTypeOf(c, t.pid), LanguageOf(t.language), t.teletext_type,
                                 t.magazine_number, t.page_number));
  if (c.m_nPmtPid >= 0) Add(channel, PmtPidInfo(c.m_nPmtPid));
}

ComPtr<IKxChannel> ChannelOf(const CChannel& c, std::optional<PsiRenderer_NetworkType> system) {
  ComPtr<IKxChannel> channel = NewChannel();
  if (!channel) return {};
  IKxChannel* k = channel.Get();
  if (system) k->put_Type(ChannelTypeOf(*system, c.m_nServiceType));
  PutText(k, &IKxChannel::put_Title, Utf16ToUtf8(c.m_bstrServiceName.View()));
  k->put_Scrambled(ToVariantBool(c.m_nCa == 1));
  k->put_ProgramNumber(c.m_nProgramNumber);
  k->put_ServiceId(c.m_nServiceId);
  k->put_TransportStreamId(c.m_nTransportStreamId);
  k->put_NetworkId(c.m_nOriginalNetworkId);
  if (!c.m_bstrNetworkName.View().empty())
    PutNamedText(k, u"NetworkName", Utf16ToUtf8(c.m_bstrNetworkName.View()));
  k->put_CarrierFrequency(FrequencyKhz(c.m_nCarrierFrequency, system));
  k->put_Modulation(BdaModulation(c.m_nModulation, system));
  // Each system's descriptor fills only its own fields; the others stay unknown.
  const bool satellite = system == PsiRenderer_NetworkType_Dvbs;
  if (satellite || system == PsiRenderer_NetworkType_Dvbc) k->put_SymbolRate(c.m_nSymbolRate);
  if (system == PsiRenderer_NetworkType_Dvbt) k->put_Bandwidth(c.m_nBandwidth);
  if (satellite) k->put_SignalPolarisation(c.m_nPolarisation);
  if (satellite && c.m_nOrbitalPosition != -1 && c.m_nWestEastFlag != -1)
    PutText(k, &IKxChannel::put_Satellite, fmt::format("{}{}", c.m_nOrbitalPosition, c.m_nWestEastFlag == 1 ? "E" : "W"));
  PutNamedLong(k, u"RunningState", c.m_nRunningStatus);
  PutNamedLong(k, u"PcrPid", c.m_nPcrPid);
  PutNamedLong(k, u"VideoStreamType", c.m_nVideoStreamType);
  k->put_ServiceType(c.m_nServiceType);
  k->put_MajorChannel(c.m_nMajorChannelNumber);
  k->put_MinorChannel(c.m_nMinorChannelNumber);
  k->put_SourceId(c.m_nSourceId);
  k->put_ChannelTsId(c.m_nChannelTsId);
  AddPids(k, c);
  if (!c.m_bstrServiceProvider.View().empty())
    PutText(k, &IKxChannel::put_ServiceProviderName, Utf16ToUtf8(c.m_bstrServiceProvider.View()));
  return channel;
}
}  // namespace

ChannelList ChannelsFromAnalysis(const TransportStreamAnalysis& analysis) {
  ChannelList list;
  for (const CChannel& c : analysis.channels->Copy())
    if (ComPtr<IKxChannel> channel = ChannelOf(c, analysis.networkType)) list.push_back(std::move(channel));
  return list;
}
