#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "channels/ChannelExports.h"
#include "channels/ChannelProperties.h"
#include "channels/ChannelRecord.h"
#include "channels/DeliverySystem.h"
#include "platform/bda/BdaTypes.h"
#include "platform/com/Utf.h"
#include "psi/text/SafeText.h"

// VDR's channels.conf (vdr(5)): one line a channel,
// "Name;Provider:Frequency:Parameters:Source:Srate:VPID:APID:TPID:CAID:SID:NID:TID:RID".
namespace {
// ':' separates fields and ';' name and provider; VDR writes '|' for a ':' in a name.
std::string VdrText(const std::string& text) {
  std::string safe = SafeUtf8(Utf8ToUtf16(text), TextUse::Line);
  for (char& c : safe)
    if (c == ':') c = '|';
    else if (c == ';') c = ',';
  return safe;
}

int VdrModulation(LONG bda) {
  switch (bda) {
    case BDA_MOD_QPSK: return 2;
    case BDA_MOD_8PSK: return 5;
    case BDA_MOD_16APSK: return 6;
    case BDA_MOD_32APSK: return 7;
    case BDA_MOD_16QAM: return 16;
    case BDA_MOD_32QAM: return 32;
    case BDA_MOD_64QAM: return 64;
    case BDA_MOD_128QAM: return 128;
    case BDA_MOD_256QAM: return 256;
    case BDA_MOD_8VSB: return 10;
    case BDA_MOD_16VSB: return 11;
    default: return 999;  // VDR's "auto"
  }
}

// Tuning data's code rates in VDR's digits ("3/4" is C34).
const char* VdrCodeRate(LONG code) {
  switch (code) {
    case 1: return "12";
    case 2: return "23";
    case 3: return "34";
    case 4: return "35";
    case 5: return "45";
    case 6: return "56";
    case 8: return "78";
    case 13: return "89";
    case 14: return "910";
    default: return "999";
  }
}

const char* VdrPolarisation(LONG bda) {
  switch (bda) {
    case BDA_POLARISATION_LINEAR_V: return "V";
    case BDA_POLARISATION_CIRCULAR_L: return "L";
    case BDA_POLARISATION_CIRCULAR_R: return "R";
    default: return "H";
  }
}

// "192E" as VDR's source "S19.2E".
std::string SatelliteSource(const std::string& satellite) {
  const int tenths = std::atoi(satellite.c_str());
  const char side = !satellite.empty() && satellite.back() == 'W' ? 'W' : 'E';
  return fmt::format("S{}.{}{}", tenths / 10, tenths % 10, side);
}

struct Delivery {
  long frequency;
  std::string parameters;
  std::string source;
  long symbolRate;
};

Delivery DeliveryOf(IKxChannel* channel, PsiRenderer_NetworkType system) {
  const LONG khz = LongOf(channel, &IKxChannel::get_CarrierFrequency);
  const LONG modulation = LongOf(channel, &IKxChannel::get_Modulation);
  const LONG symbolRate = std::max<LONG>(0, LongOf(channel, &IKxChannel::get_SymbolRate));
  switch (system) {
    case PsiRenderer_NetworkType_Dvbs: {
      const bool s2 = modulation == BDA_MOD_8PSK || modulation == BDA_MOD_16APSK || modulation == BDA_MOD_32APSK;
      return {khz / 1000,
              fmt::format("{}C{}M{}S{}", VdrPolarisation(LongOf(channel, &IKxChannel::get_SignalPolarisation)),
                          VdrCodeRate(NamedLongOf(channel, u"InnerFec")), VdrModulation(modulation), s2 ? 1 : 0),
              SatelliteSource(TextOf(channel, &IKxChannel::get_Satellite)), symbolRate};
    }
    case PsiRenderer_NetworkType_Dvbc:
      return {khz, fmt::format("C999M{}", VdrModulation(modulation)), "C", symbolRate};
    case PsiRenderer_NetworkType_Atsc: return {khz, fmt::format("M{}", VdrModulation(modulation)), "A", 0};
    case PsiRenderer_NetworkType_Dvbt: break;
  }
  const LONG bandwidth = LongOf(channel, &IKxChannel::get_Bandwidth);
  return {khz, fmt::format("B{}M{}S0", bandwidth > 0 ? bandwidth : 8, VdrModulation(modulation)), "T", 27500};
}

std::string Language(const LanguageChars& language) {
  if (language == LanguageChars{}) return "";
  return "=" + SafeUtf8(std::string_view(reinterpret_cast<const char*>(language.data()), language.size()),
                        TextUse::Line);
}

std::string LineOf(IKxChannel* channel, PsiRenderer_NetworkType system) {
  const CChannel record = ChannelRecordOf(channel);
  std::string video = "0";
  for (const PidRecord& p : record.m_vPids)
    if (p.classification == PsiRenderer_StreamType_Video) {
      video = fmt::format("{}={}", p.pid, p.stream_type);
      break;
    }
  std::vector<std::string> audio, dolby;
  for (const AudioRecord& a : record.m_vAudio)
    (a.ac3 ? dolby : audio).push_back(fmt::format("{}{}", a.pid, Language(a.language)));
  std::string audioField = audio.empty() ? "0" : fmt::format("{}", fmt::join(audio, ","));
  if (!dolby.empty()) audioField += fmt::format(";{}", fmt::join(dolby, ","));
  const int teletext = record.m_vTeletext.empty() ? 0 : record.m_vTeletext.front().pid;
  const Delivery d = DeliveryOf(channel, system);
  const auto known = [](int32_t value) { return std::max<int32_t>(0, value); };
  return fmt::format("{};{}:{}:{}:{}:{}:{}:{}:{}:{}:{}:{}:{}:0\n", VdrText(TextOf(channel, &IKxChannel::get_Title)),
                     VdrText(TextOf(channel, &IKxChannel::get_ServiceProvider)), d.frequency, d.parameters, d.source,
                     d.symbolRate, video, audioField, teletext, ScrambledOf(channel) ? "FF" : "0",
                     known(record.m_nServiceId), known(record.m_nOriginalNetworkId), known(record.m_nTransportStreamId));
}
}  // namespace

std::string VdrChannelsText(const ChannelList& channels, size_t& skipped) {
  std::string text;
  skipped = 0;
  for (const ComPtr<IKxChannel>& channel : channels) {
    const auto system = NetworkTypeOfChannel(LongOf(channel.Get(), &IKxChannel::get_Type));
    if (system) text += LineOf(channel.Get(), *system);
    else ++skipped;
  }
  return text;
}
