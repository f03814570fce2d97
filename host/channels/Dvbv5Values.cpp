#include "channels/Dvbv5Values.h"

#include <array>
#include <utility>

#include "platform/bda/BdaTypes.h"

namespace {
using Name = std::pair<LONG, const char*>;

constexpr std::array kModulations{
    Name{BDA_MOD_16QAM, "QAM/16"},   Name{BDA_MOD_32QAM, "QAM/32"}, Name{BDA_MOD_64QAM, "QAM/64"},
    Name{BDA_MOD_128QAM, "QAM/128"}, Name{BDA_MOD_256QAM, "QAM/256"}, Name{BDA_MOD_QPSK, "QPSK"},
    Name{BDA_MOD_8PSK, "PSK/8"},     Name{BDA_MOD_16APSK, "APSK/16"}, Name{BDA_MOD_32APSK, "APSK/32"},
    Name{BDA_MOD_8VSB, "VSB/8"},     Name{BDA_MOD_16VSB, "VSB/16"}};
constexpr std::array kPolarisations{Name{BDA_POLARISATION_LINEAR_H, "HORIZONTAL"},
                                    Name{BDA_POLARISATION_LINEAR_V, "VERTICAL"},
                                    Name{BDA_POLARISATION_CIRCULAR_L, "LEFT"},
                                    Name{BDA_POLARISATION_CIRCULAR_R, "RIGHT"}};
constexpr std::array kCodeRates{Name{1, "1/2"},  Name{2, "2/3"},  Name{3, "3/4"},  Name{4, "3/5"},  Name{5, "4/5"},
                                Name{6, "5/6"},  Name{7, "5/11"}, Name{8, "7/8"},  Name{9, "1/4"},  Name{10, "1/3"},
                                Name{11, "2/5"}, Name{12, "6/7"}, Name{13, "8/9"}, Name{14, "9/10"}};

template <size_t N>
std::optional<std::string> NameOf(const std::array<Name, N>& names, LONG value) {
  for (const auto& [v, name] : names)
    if (v == value) return name;
  return std::nullopt;
}

template <size_t N>
LONG ValueOf(const std::array<Name, N>& names, const std::string& text) {
  for (const auto& [value, name] : names)
    if (text == name) return value;
  return -1;
}
}  // namespace

std::string Dvbv5DeliverySystem(PsiRenderer_NetworkType system, LONG bdaModulation) {
  switch (system) {
    case PsiRenderer_NetworkType_Dvbc: return "DVBC/ANNEX_A";
    case PsiRenderer_NetworkType_Atsc: return "ATSC";
    case PsiRenderer_NetworkType_Dvbs:
      // Only DVB-S2 carries the higher-order modulations.
      return bdaModulation == BDA_MOD_8PSK || bdaModulation == BDA_MOD_16APSK || bdaModulation == BDA_MOD_32APSK
                 ? "DVBS2"
                 : "DVBS";
    case PsiRenderer_NetworkType_Dvbt: break;
  }
  return "DVBT";
}

std::optional<PsiRenderer_NetworkType> NetworkTypeOfDvbv5(const std::string& deliverySystem) {
  if (deliverySystem == "DVBT" || deliverySystem == "DVBT2") return PsiRenderer_NetworkType_Dvbt;
  if (deliverySystem == "DVBC/ANNEX_A" || deliverySystem == "DVBC/ANNEX_C") return PsiRenderer_NetworkType_Dvbc;
  if (deliverySystem == "DVBS" || deliverySystem == "DVBS2") return PsiRenderer_NetworkType_Dvbs;
  if (deliverySystem == "ATSC" || deliverySystem == "DVBC/ANNEX_B") return PsiRenderer_NetworkType_Atsc;
  return std::nullopt;
}

std::optional<std::string> Dvbv5Modulation(LONG bdaModulation) { return NameOf(kModulations, bdaModulation); }
LONG BdaModulationOfDvbv5(const std::string& name) { return ValueOf(kModulations, name); }
std::optional<std::string> Dvbv5Polarisation(LONG bdaPolarisation) { return NameOf(kPolarisations, bdaPolarisation); }
LONG BdaPolarisationOfDvbv5(const std::string& name) { return ValueOf(kPolarisations, name); }
std::optional<std::string> CodeRateText(LONG code) { return NameOf(kCodeRates, code); }
LONG CodeRateOfText(const std::string& text) { return ValueOf(kCodeRates, text); }
