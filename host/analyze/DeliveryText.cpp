#include "analyze/DeliveryText.h"

#include <fmt/format.h>

namespace {

constexpr int32_t kUnknown = -1;

// Satellite frequencies are kept in kHz, cable and terrestrial ones in 10 Hz.
std::string Megahertz(int64_t tensOfHertz) {
  const int64_t khz = tensOfHertz / 100;
  return khz % 1000 == 0 ? fmt::format("{} MHz", khz / 1000) : fmt::format("{:.3f} MHz", khz / 1000.0);
}

std::string Gigahertz(int64_t khz) { return fmt::format("{:.3f} GHz", khz / 1e6); }

const char* Polarisation(int32_t code) {
  switch (code) {
    case 1: return "H";
    case 2: return "V";
    case 3: return "L";
    case 4: return "R";
    default: return nullptr;
  }
}

const char* CableModulation(int32_t code) {
  switch (code) {
    case 1: return "16-QAM";
    case 2: return "32-QAM";
    case 3: return "64-QAM";
    case 4: return "128-QAM";
    case 5: return "256-QAM";
    default: return nullptr;
  }
}

void Add(std::string& text, const std::string& part) {
  if (!part.empty()) text += " " + part;
}

struct Delivery {
  PsiRenderer_NetworkType system;
  int64_t frequency = kUnknown;  // kHz for satellite, 10 Hz otherwise
  int32_t symbolRate = kUnknown;
  int32_t modulation = kUnknown;
  int32_t polarisation = kUnknown;
  int32_t orbitalPosition = kUnknown;
  int32_t westEast = kUnknown;
  int32_t bandwidth = kUnknown;
  bool dvbS2 = false;
};

std::string Describe(const Delivery& d) {
  std::string text;
  const bool frequencyKnown = d.frequency > 0;
  switch (d.system) {
    case PsiRenderer_NetworkType_Dvbs:
      text = d.dvbS2 ? "DVB-S2" : "DVB-S";
      if (frequencyKnown) Add(text, Gigahertz(d.frequency));
      if (const char* pol = Polarisation(d.polarisation)) Add(text, pol);
      if (d.symbolRate > 0) Add(text, fmt::format("{} kS/s", d.symbolRate));
      if (d.orbitalPosition >= 0)
        Add(text, fmt::format("{}.{}°{}", d.orbitalPosition / 10, d.orbitalPosition % 10, d.westEast == 0 ? "W" : "E"));
      break;
    case PsiRenderer_NetworkType_Dvbc:
      text = "DVB-C";
      if (frequencyKnown) Add(text, Megahertz(d.frequency));
      if (const char* modulation = CableModulation(d.modulation)) Add(text, modulation);
      if (d.symbolRate > 0) Add(text, fmt::format("{} kS/s", d.symbolRate));
      break;
    case PsiRenderer_NetworkType_Dvbt:
      text = "DVB-T";
      if (frequencyKnown) Add(text, Megahertz(d.frequency));
      if (d.bandwidth > 0) text += fmt::format("{} {} MHz bandwidth", frequencyKnown ? "," : "", d.bandwidth);
      break;
    case PsiRenderer_NetworkType_Atsc:
      text = "ATSC";
      break;
  }
  return text;
}

}  // namespace

std::string ChannelDeliveryText(const CChannel& c, std::optional<PsiRenderer_NetworkType> networkType) {
  if (c.m_nNetworkId == kUnknown || !networkType || *networkType == PsiRenderer_NetworkType_Atsc) return {};
  return Describe({*networkType, c.m_nCarrierFrequency,
                   c.m_nSymbolRate, c.m_nModulation, c.m_nPolarisation, c.m_nOrbitalPosition, c.m_nWestEastFlag,
                   c.m_nBandwidth, c.m_nDvbS2 == 1});
}

std::string TransponderText(const CTransponderFrequency& f, std::optional<PsiRenderer_NetworkType> networkType) {
  const PsiRenderer_NetworkType system = networkType.value_or(
      f.m_nSymbolRate != 0 ? PsiRenderer_NetworkType_Dvbs : PsiRenderer_NetworkType_Dvbt);
  // The list keeps kHz for every system.
  const int64_t frequency = f.m_nCarrierFrequency == 0 ? kUnknown
                            : system == PsiRenderer_NetworkType_Dvbs
                                ? int64_t{f.m_nCarrierFrequency}
                                : int64_t{f.m_nCarrierFrequency} * 100;
  return Describe({system, frequency, static_cast<int32_t>(f.m_nSymbolRate), f.m_nModulation,
                   f.m_nPolarisation, f.m_nOrbitalPosition, f.m_nWestEastFlag, f.m_nBandwidth, false});
}
