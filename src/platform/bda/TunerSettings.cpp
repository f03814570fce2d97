#include "platform/bda/TunerSettings.h"

int DiseqcInput(ULONG range) { return static_cast<int>((range & 1) | ((range >> 7) & 2)); }

LnbOscillators EffectiveOscillators(const LnbOscillators& lnb) {
  if (lnb.lowKHz == 0 && lnb.highKHz == 0 && lnb.switchKHz == 0) return {9750000, 10600000, 11700000};
  return lnb;
}

namespace {
bool InHighBand(ULONG transponderKHz, const LnbOscillators& lnb) {
  // A single-oscillator LNB has no switch frequency and no high band.
  return lnb.highKHz != 0 && lnb.switchKHz != 0 && transponderKHz >= lnb.switchKHz;
}

ULONG Distance(ULONG a, ULONG b) { return a > b ? a - b : b - a; }
}  // namespace

IntermediateFrequency ToIntermediateFrequency(ULONG transponderKHz, const LnbOscillators& lnb) {
  const LnbOscillators osc = EffectiveOscillators(lnb);
  const bool high = InHighBand(transponderKHz, osc);
  // C-band LNBs oscillate above the transponders: the distance either way.
  return {Distance(transponderKHz, high ? osc.highKHz : osc.lowKHz), high};
}

ULONG AtscChannelCentreKHz(LONG channel) {
  if (channel >= 2 && channel <= 4) return 57000 + static_cast<ULONG>(channel - 2) * 6000;
  if (channel >= 5 && channel <= 6) return 79000 + static_cast<ULONG>(channel - 5) * 6000;
  if (channel >= 7 && channel <= 13) return 177000 + static_cast<ULONG>(channel - 7) * 6000;
  if (channel >= 14 && channel <= 69) return 473000 + static_cast<ULONG>(channel - 14) * 6000;
  return 0;
}

bool IsHighVoltagePolarisation(Polarisation polarisation) {
  return polarisation == BDA_POLARISATION_LINEAR_H || polarisation == BDA_POLARISATION_CIRCULAR_L;
}
