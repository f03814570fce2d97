#include "channels/ChannelRecord.h"

#include <algorithm>

#include "channels/ChannelProperties.h"
#include "channels/DeliverySystem.h"
#include "channels/DeliveryUnits.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Utf.h"

namespace {
LanguageChars LanguageCharsOf(BSTR text) {
  LanguageChars language{};
  const std::string utf8 = text ? Utf16ToUtf8(std::u16string_view(text, SysStringLen(text))) : std::string();
  if (utf8.size() == language.size()) std::copy(utf8.begin(), utf8.end(), language.begin());
  return language;
}

PsiRenderer_StreamType ClassificationOf(LONG kind) {
  switch (kind) {
    case KxPidKind_Video: return PsiRenderer_StreamType_Video;
    case KxPidKind_Audio: return PsiRenderer_StreamType_Audio;
    case KxPidKind_Teletext: return PsiRenderer_StreamType_Teletext;
    case KxPidKind_Pmt: return PsiRenderer_StreamType_Pmt;
    default: return PsiRenderer_StreamType_Unknown;
  }
}

void AddAudio(IKxPidInfo* info, uint16_t pid, uint8_t streamType, CChannel& c) {
  const auto audio = QueryAs<IKxAudioPidInfo>(info);
  BStr language;
  VARIANT_BOOL ac3 = VARIANT_FALSE;
  if (audio) {
    audio->get_Iso639Language(language.Put());
    audio->get_Ac3(&ac3);
  }
  c.m_vAudio.push_back({LanguageCharsOf(language.Get()), streamType, static_cast<uint8_t>(ac3 != VARIANT_FALSE), pid});
}

void AddTeletext(IKxPidInfo* info, uint16_t pid, CChannel& c) {
  const auto teletext = QueryAs<IKxTeletextPidInfo>(info);
  BStr language;
  LONG type = 0, magazine = 0, page = 0;
  if (teletext) {
    teletext->get_Iso639Language(language.Put());
    teletext->get_TeletextType(&type);
    teletext->get_MagazineNumber(&magazine);
    teletext->get_PageNumber(&page);
  }
  c.m_vTeletext.push_back({LanguageCharsOf(language.Get()), static_cast<uint8_t>(type),
                           static_cast<uint8_t>(magazine), static_cast<uint8_t>(page), pid});
}

void ReadPids(IKxChannel* channel, CChannel& c) {
  LONG count = 0;
  if (FAILED(channel->get_PidInfoCount(&count))) return;
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxPidInfo> info;
    LONG pid = 0, streamType = 0, kind = 0;
    if (FAILED(channel->get_PidInfoByIndex(i, info.Put())) || FAILED(info->get_Pid(&pid)) ||
        FAILED(info->get_Type(&streamType)) || FAILED(info->get_StreamType(&kind)))
      continue;
    const auto pid16 = static_cast<uint16_t>(pid);
    const auto type8 = static_cast<uint8_t>(streamType);
    c.m_vPids.push_back({pid16, type8, ClassificationOf(kind), StreamCodec::Unknown});
    if (kind == KxPidKind_Pmt) c.m_nPmtPid = pid;
    if (kind == KxPidKind_Audio) AddAudio(info.Get(), pid16, type8, c);
    if (kind == KxPidKind_Teletext) AddTeletext(info.Get(), pid16, c);
  }
}
}  // namespace

CChannel ChannelRecordOf(IKxChannel* channel) {
  CChannel c;
  const auto system = NetworkTypeOfChannel(LongOf(channel, &IKxChannel::get_Type));
  c.m_nProgramNumber = LongOf(channel, &IKxChannel::get_ProgramNumber);
  c.m_nServiceId = LongOf(channel, &IKxChannel::get_ServiceId);
  c.m_nTransportStreamId = LongOf(channel, &IKxChannel::get_TransportStreamId);
  c.m_nOriginalNetworkId = LongOf(channel, &IKxChannel::get_NetworkId);
  c.m_bstrServiceName = BStr(Utf8ToUtf16(TextOf(channel, &IKxChannel::get_Title)));
  c.m_bstrServiceProvider = BStr(Utf8ToUtf16(TextOf(channel, &IKxChannel::get_ServiceProvider)));
  c.m_bstrNetworkName = BStr(Utf8ToUtf16(NetworkNameOf(channel)));
  c.m_nServiceType = LongOf(channel, &IKxChannel::get_ServiceType);
  c.m_nRunningStatus = NamedLongOf(channel, u"RunningState");
  c.m_nCa = ScrambledOf(channel) ? 1 : 0;
  c.m_nPcrPid = NamedLongOf(channel, u"PcrPid");
  c.m_nVideoStreamType = std::max<LONG>(0, NamedLongOf(channel, u"VideoStreamType"));
  c.m_nCarrierFrequency = DescriptorFrequency(LongOf(channel, &IKxChannel::get_CarrierFrequency), system);
  c.m_nSymbolRate = LongOf(channel, &IKxChannel::get_SymbolRate);
  c.m_nModulation = DescriptorModulation(LongOf(channel, &IKxChannel::get_Modulation), system);
  c.m_nPolarisation = LongOf(channel, &IKxChannel::get_SignalPolarisation);
  c.m_nBandwidth = LongOf(channel, &IKxChannel::get_Bandwidth);
  c.m_nMajorChannelNumber = LongOf(channel, &IKxChannel::get_MajorChannel);
  c.m_nMinorChannelNumber = LongOf(channel, &IKxChannel::get_MinorChannel);
  c.m_nSourceId = LongOf(channel, &IKxChannel::get_SourceId);
  c.m_nChannelTsId = LongOf(channel, &IKxChannel::get_ChannelTsId);
  const std::string satellite = TextOf(channel, &IKxChannel::get_Satellite);
  if (!satellite.empty()) {
    c.m_nOrbitalPosition = std::atoi(satellite.c_str());
    c.m_nWestEastFlag = satellite.back() == 'E' ? 1 : 0;
  }
  ReadPids(channel, c);
  return c;
}
