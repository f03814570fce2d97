#include "channels/Dvbv5Channels.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "channels/ChannelProperties.h"
#include "channels/ChannelRecord.h"
#include "channels/DeliverySystem.h"
#include "channels/Dvbv5Values.h"
#include "channels/PidInfoObjects.h"
#include "platform/com/Utf.h"
#include "psi/text/SafeText.h"

namespace {
// libdvbv5 keeps satellite frequencies in kHz and the others in Hz.
long long FrequencyScale(PsiRenderer_NetworkType system) { return system == PsiRenderer_NetworkType_Dvbs ? 1 : 1000; }

// libdvbv5 ends a name at its first ']' and reads one line.
std::string Dvbv5Name(const std::string& title) {
  std::string name = SafeUtf8(Utf8ToUtf16(title), TextUse::Line);
  std::replace(name.begin(), name.end(), ']', ')');
  return name;
}

void AddPositive(Dvbv5Entry& entry, const std::string& key, long long value, long long scale = 1) {
  if (value > 0) entry.Add(key, std::to_string(value * scale));
}

void AddPids(Dvbv5Entry& entry, const CChannel& record) {
  std::vector<uint16_t> video, audio;
  std::map<uint8_t, std::vector<uint16_t>> others;  // by stream type, as libdvbv5 keeps them
  for (const PidRecord& p : record.m_vPids) {
    if (p.classification == PsiRenderer_StreamType_Video) video.push_back(p.pid);
    else if (p.classification == PsiRenderer_StreamType_Audio) audio.push_back(p.pid);
    else if (p.classification != PsiRenderer_StreamType_Pmt) others[p.stream_type].push_back(p.pid);
  }
  if (!video.empty()) entry.Add("VIDEO_PID", fmt::format("{}", fmt::join(video, " ")));
  if (!audio.empty()) entry.Add("AUDIO_PID", fmt::format("{}", fmt::join(audio, " ")));
  for (const auto& [type, pids] : others) entry.Add(fmt::format("PID_{:02x}", type), fmt::format("{}", fmt::join(pids, " ")));
}

Dvbv5Entry EntryOf(IKxChannel* channel, PsiRenderer_NetworkType system) {
  Dvbv5Entry entry{Dvbv5Name(TextOf(channel, &IKxChannel::get_Title)), {}};
  const CChannel record = ChannelRecordOf(channel);
  if (record.m_nServiceId >= 0) entry.Add("SERVICE_ID", std::to_string(record.m_nServiceId));
  if (record.m_nOriginalNetworkId >= 0) entry.Add("NETWORK_ID", std::to_string(record.m_nOriginalNetworkId));
  if (record.m_nTransportStreamId >= 0) entry.Add("TRANSPORT_ID", std::to_string(record.m_nTransportStreamId));
  if (record.m_nMajorChannelNumber >= 0 && record.m_nMinorChannelNumber >= 0)
    entry.Add("VCHANNEL", fmt::format("{}.{}", record.m_nMajorChannelNumber, record.m_nMinorChannelNumber));
  AddPids(entry, record);
  const LONG lnb = LongOf(channel, &IKxChannel::get_LnbPosition);
  if (system == PsiRenderer_NetworkType_Dvbs && lnb >= 1) entry.Add("SAT_NUMBER", std::to_string(lnb - 1));
  const LONG modulation = LongOf(channel, &IKxChannel::get_Modulation);
  entry.Add("DELIVERY_SYSTEM", Dvbv5DeliverySystem(system, modulation));
  AddPositive(entry, "FREQUENCY", LongOf(channel, &IKxChannel::get_CarrierFrequency), FrequencyScale(system));
  if (system == PsiRenderer_NetworkType_Dvbt)
    AddPositive(entry, "BANDWIDTH_HZ", LongOf(channel, &IKxChannel::get_Bandwidth), 1000000);
  if (system == PsiRenderer_NetworkType_Dvbs || system == PsiRenderer_NetworkType_Dvbc)
    AddPositive(entry, "SYMBOL_RATE", LongOf(channel, &IKxChannel::get_SymbolRate), 1000);
  if (const auto name = Dvbv5Modulation(modulation)) entry.Add("MODULATION", *name);
  if (system == PsiRenderer_NetworkType_Dvbs) {
    if (const auto name = Dvbv5Polarisation(LongOf(channel, &IKxChannel::get_SignalPolarisation)))
      entry.Add("POLARIZATION", *name);
    if (const auto fec = CodeRateText(NamedLongOf(channel, u"InnerFec"))) entry.Add("INNER_FEC", *fec);
  }
  return entry;
}

std::vector<long long> Numbers(const std::string* text) {
  std::vector<long long> numbers;
  if (!text) return numbers;
  std::istringstream in(*text);
  for (long long n = 0; in >> n;) numbers.push_back(n);
  return numbers;
}

void AddPids(IKxChannel* channel, const Dvbv5Entry& entry) {
  const auto add = [channel](const ComPtr<IKxPidInfo>& info) {
    if (info) channel->AddPidInfo(info.Get());
  };
  for (long long pid : Numbers(entry.Find("VIDEO_PID"))) add(VideoPidInfo(static_cast<LONG>(pid), 0));
  for (long long pid : Numbers(entry.Find("AUDIO_PID"))) add(AudioPidInfo(static_cast<LONG>(pid), 0, "", false));
  for (const auto& [key, value] : entry.values) {
    if (key.rfind("PID_", 0) != 0) continue;
    const LONG type = static_cast<LONG>(std::strtol(key.c_str() + 4, nullptr, 16));
    for (long long pid : Numbers(&value)) add(OtherPidInfo(static_cast<LONG>(pid), type));
  }
}

LONG Scaled(const std::optional<long long>& value, long long divisor) {
  return value && *value > 0 ? static_cast<LONG>(*value / divisor) : -1;
}

std::optional<ComPtr<IKxChannel>> ChannelOf(const Dvbv5Entry& entry, size_t number, std::string& error) {
  const std::string* delivery = entry.Find("DELIVERY_SYSTEM");
  const auto system = delivery ? NetworkTypeOfDvbv5(*delivery) : std::nullopt;
  const auto frequency = entry.Number("FREQUENCY");
  if (!system || !frequency) {
    error = fmt::format("channel {} [{}]: {}", number, entry.name,
                        !delivery  ? "no DELIVERY_SYSTEM"
                        : !system ? "DELIVERY_SYSTEM " + *delivery + " is not received by dtv"
                                  : "no FREQUENCY");
    return std::nullopt;
  }
  const PsiRenderer_NetworkType network = *system;
  ComPtr<IKxChannel> channel = NewChannel();
  if (!channel) {
    error = "out of memory";
    return std::nullopt;
  }
  IKxChannel* k = channel.Get();
  const bool tv = entry.Find("VIDEO_PID") != nullptr;
  k->put_Type(ChannelTypeOf(network, network == PsiRenderer_NetworkType_Atsc ? (tv ? 2 : 3) : (tv ? 1 : 2)));
  PutText(k, &IKxChannel::put_Title, entry.name);
  const auto value = [&entry](const char* key) { return static_cast<LONG>(entry.Number(key).value_or(-1)); };
  k->put_ServiceId(value("SERVICE_ID"));
  k->put_ProgramNumber(value("SERVICE_ID"));
  k->put_NetworkId(value("NETWORK_ID"));
  k->put_TransportStreamId(value("TRANSPORT_ID"));
  k->put_CarrierFrequency(Scaled(frequency, FrequencyScale(network)));
  if (network == PsiRenderer_NetworkType_Dvbt) k->put_Bandwidth(Scaled(entry.Number("BANDWIDTH_HZ"), 1000000));
  k->put_SymbolRate(Scaled(entry.Number("SYMBOL_RATE"), 1000));
  if (const std::string* modulation = entry.Find("MODULATION")) k->put_Modulation(BdaModulationOfDvbv5(*modulation));
  if (const std::string* polarisation = entry.Find("POLARIZATION"))
    k->put_SignalPolarisation(BdaPolarisationOfDvbv5(*polarisation));
  if (const std::string* fec = entry.Find("INNER_FEC"); fec && CodeRateOfText(*fec) != -1)
    PutNamedLong(k, u"InnerFec", CodeRateOfText(*fec));
  if (const auto sat = entry.Number("SAT_NUMBER"); sat && *sat >= 0 && network == PsiRenderer_NetworkType_Dvbs)
    k->put_LnbPosition(static_cast<LONG>(*sat + 1));
  if (const std::string* vchannel = entry.Find("VCHANNEL")) {
    int major = -1, minor = -1;
    if (std::sscanf(vchannel->c_str(), "%d.%d", &major, &minor) == 2) {
      k->put_MajorChannel(major);
      k->put_MinorChannel(minor);
    }
  }
  AddPids(k, entry);
  return channel;
}
}  // namespace

std::vector<Dvbv5Entry> Dvbv5ChannelEntries(const ChannelList& channels, size_t& skipped) {
  std::vector<Dvbv5Entry> entries;
  skipped = 0;
  for (const ComPtr<IKxChannel>& channel : channels) {
    const auto system = NetworkTypeOfChannel(LongOf(channel.Get(), &IKxChannel::get_Type));
    if (system) entries.push_back(EntryOf(channel.Get(), *system));
    else ++skipped;
  }
  return entries;
}

std::optional<ChannelList> ChannelsOfDvbv5(const std::vector<Dvbv5Entry>& entries, std::string& error) {
  ChannelList channels;
  for (size_t i = 0; i < entries.size(); ++i) {
    std::optional<ComPtr<IKxChannel>> channel = ChannelOf(entries[i], i + 1, error);
    if (!channel) return std::nullopt;
    channels.push_back(std::move(*channel));
  }
  return channels;
}
