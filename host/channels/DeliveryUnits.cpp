#include "channels/DeliveryUnits.h"

#include <array>
#include <cstdint>
#include <utility>

#include "platform/bda/BdaTypes.h"

namespace {
using CodePair = std::pair<int32_t, LONG>;  // descriptor code, modulation

// Cable delivery descriptor (EN 300 468 6.2.13.1).
constexpr std::array kCable{CodePair{1, BDA_MOD_16QAM}, CodePair{2, BDA_MOD_32QAM}, CodePair{3, BDA_MOD_64QAM},
                            CodePair{4, BDA_MOD_128QAM}, CodePair{5, BDA_MOD_256QAM}};
// Satellite delivery descriptor (EN 300 468 6.2.13.2).
constexpr std::array kSatellite{CodePair{1, BDA_MOD_QPSK}, CodePair{2, BDA_MOD_8PSK}, CodePair{3, BDA_MOD_16QAM}};
// Modulation mode of the ATSC virtual channel table (A/65 6.3.1).
constexpr std::array kAtsc{CodePair{1, BDA_MOD_64QAM}, CodePair{2, BDA_MOD_256QAM}, CodePair{4, BDA_MOD_8VSB},
                           CodePair{5, BDA_MOD_16VSB}};

const CodePair* Find(std::optional<PsiRenderer_NetworkType> system, auto matches) {
  const CodePair* begin = nullptr;
  const CodePair* end = nullptr;
  switch (system.value_or(PsiRenderer_NetworkType_Dvbt)) {
    case PsiRenderer_NetworkType_Dvbc: begin = kCable.begin(), end = kCable.end(); break;
    case PsiRenderer_NetworkType_Dvbs: begin = kSatellite.begin(), end = kSatellite.end(); break;
    case PsiRenderer_NetworkType_Atsc: begin = kAtsc.begin(), end = kAtsc.end(); break;
    case PsiRenderer_NetworkType_Dvbt: return nullptr;  // the terrestrial descriptor's constellation is not kept
  }
  for (const CodePair* pair = begin; pair != end; ++pair)
    if (matches(*pair)) return pair;
  return nullptr;
}

// Satellite frequencies come in kHz; ATSC ones in Hz; the others in 10 Hz.
int32_t FrequencyScale(std::optional<PsiRenderer_NetworkType> system) {
  if (system == PsiRenderer_NetworkType_Dvbs) return 1;
  return system == PsiRenderer_NetworkType_Atsc ? 1000 : 100;
}
}  // namespace

LONG FrequencyKhz(int32_t descriptorFrequency, std::optional<PsiRenderer_NetworkType> system) {
  return descriptorFrequency > 0 ? descriptorFrequency / FrequencyScale(system) : -1;
}

int32_t DescriptorFrequency(LONG khz, std::optional<PsiRenderer_NetworkType> system) {
  const int64_t value = static_cast<int64_t>(khz) * FrequencyScale(system);
  return khz > 0 && value <= INT32_MAX ? static_cast<int32_t>(value) : -1;
}

LONG BdaModulation(int32_t descriptorCode, std::optional<PsiRenderer_NetworkType> system) {
  const CodePair* pair = Find(system, [&](const CodePair& p) { return p.first == descriptorCode; });
  return pair ? pair->second : -1;
}

int32_t DescriptorModulation(LONG bdaModulation, std::optional<PsiRenderer_NetworkType> system) {
  const CodePair* pair = Find(system, [&](const CodePair& p) { return p.second == bdaModulation; });
  return pair ? pair->first : -1;
}
