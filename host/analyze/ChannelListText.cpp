#include "analyze/ChannelListText.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include "analyze/ChannelListFields.h"
#include "analyze/DeliveryText.h"

namespace {
std::string Number(int32_t value) { return value == -1 ? "-" : std::to_string(value); }
std::string Pid(int32_t value) { return value == -1 ? "-" : fmt::format("0x{:04x}", value); }
std::string Language(const LanguageChars& language) { return LanguageText(language, TextUse::Line).value_or("---"); }
std::string Text(const BStr& text) { return SafeUtf8(text.View(), TextUse::Line); }
std::string Ca(int32_t ca) { return ca == -1 ? "unknown" : ca != 0 ? "yes" : "no"; }

// The video stream's coding, else what the stored video type says.
const char* VideoType(const CChannel& c) {
  const int32_t pid = VideoPid(c);
  if (const char* name = pid == -1 ? nullptr : CodecName(CodecOf(c, static_cast<uint16_t>(pid)))) return name;
  switch (c.m_nVideoStreamType) {
    case 1: return "MPEG-2";
    case 2: return "MPEG-4";
    default: return "unknown";
  }
}

// MPEG audio goes without a word; the others are named.
std::string AudioCodec(const CChannel& c, const AudioRecord& a) {
  const StreamCodec codec = CodecOf(c, a.pid);
  if (codec != StreamCodec::Unknown && codec != StreamCodec::MpegAudio) return fmt::format(" {}", CodecName(codec));
  return a.ac3 ? " AC-3" : "";
}

std::string PidCodec(const PidRecord& p) {
  const char* name = CodecName(p.codec);
  return name ? fmt::format(" {}", name) : "";
}

void WriteDelivery(std::ostream& out, const CChannel& c, std::optional<PsiRenderer_NetworkType> networkType) {
  if (c.m_nMajorChannelNumber != -1) {
    fmt::print(out, "  channel {}.{}, source id {}, channel TS id {}, frequency {}, modulation {}\n",
               c.m_nMajorChannelNumber, c.m_nMinorChannelNumber, Number(c.m_nSourceId), Number(c.m_nChannelTsId),
               Number(c.m_nCarrierFrequency), Number(c.m_nModulation));
  } else if (const std::string delivery = ChannelDeliveryText(c, networkType); !delivery.empty()) {
    fmt::print(out, "  delivery: {}\n", delivery);
  }
}

void WriteChannel(std::ostream& out, const CChannel& c, std::optional<PsiRenderer_NetworkType> networkType) {
  fmt::print(out, "#{} program {} service {} \"{}\" provider \"{}\" type {} running {} CA {}\n", c.m_nOrdinal,
             Number(c.m_nProgramNumber), Number(c.m_nServiceId), Text(c.m_bstrServiceName),
             Text(c.m_bstrServiceProvider), Number(c.m_nServiceType), Number(c.m_nRunningStatus), Ca(c.m_nCa));
  fmt::print(out, "  PMT {} PCR {} video {} ({})\n", Pid(c.m_nPmtPid), Pid(c.m_nPcrPid), Pid(VideoPid(c)),
             VideoType(c));
  for (const AudioRecord& a : c.m_vAudio)
    fmt::print(out, "  audio {} {} type {}{}\n", Pid(a.pid), Language(a.language), a.type, AudioCodec(c, a));
  for (const TeletextRecord& t : c.m_vTeletext)
    fmt::print(out, "  teletext {} {} type {} magazine {} page {:02x}\n", Pid(t.pid), Language(t.language),
               t.teletext_type, t.magazine_number, t.page_number);
  for (const SubtitleRecord& s : c.m_vSubtitles)
    fmt::print(out, "  subtitles {} {} type {} composition page {} ancillary page {}\n", Pid(s.pid),
               Language(s.language), s.subtitling_type, s.composition_page_id, s.ancillary_page_id);
  for (const PidRecord& p : c.m_vPids)
    fmt::print(out, "  pid {} stream type 0x{:02x} {}{}\n", Pid(p.pid), p.stream_type, StreamKindName(p.classification),
               PidCodec(p));
  WriteDelivery(out, c, networkType);
}
}  // namespace

void WriteChannelListText(std::ostream& out, const TransportStreamAnalysis& analysis) {
  const std::vector<CChannel> channels = analysis.channels->Copy();
  if (!channels.empty()) {
    const CChannel& first = channels.front();
    fmt::print(out, "transport stream {}, original network {}, network {} \"{}\"\n",
               Number(first.m_nTransportStreamId), Number(first.m_nOriginalNetworkId), Number(first.m_nNetworkId),
               Text(first.m_bstrNetworkName));
  }
  fmt::print(out, "{} channels\n", channels.size());
  for (const CChannel& channel : channels) WriteChannel(out, channel, analysis.networkType);
  const auto frequencies = analysis.frequencies->Copy();
  if (!frequencies.empty()) fmt::print(out, "{} announced transponders\n", frequencies.size());
  for (const CTransponderFrequency& f : frequencies) fmt::print(out, "  {}\n", TransponderText(f, analysis.networkType));
}
