#include "platform/virtualdvb/MultiplexSelection.h"

#include "platform/bda/Topology.h"

namespace {
ULONG Distance(ULONG a, ULONG b) { return a > b ? a - b : b - a; }

Polarisation FromLetter(char letter) {
  switch (letter) {
    case 'H': return BDA_POLARISATION_LINEAR_H;
    case 'V': return BDA_POLARISATION_LINEAR_V;
    case 'L': return BDA_POLARISATION_CIRCULAR_L;
    case 'R': return BDA_POLARISATION_CIRCULAR_R;
  }
  return BDA_POLARISATION_NOT_SET;
}

bool SatelliteMatch(const VirtualMultiplex& mux, const TunerSettings& settings) {
  // Without a DiSEqC command the dish's only (or first) LNB answers.
  const int input = settings.range ? DiseqcInput(*settings.range) : 0;
  if (mux.lnbPosition != input || FromLetter(mux.polarisation) != settings.polarisation) return false;
  // The LNB shifts what the tuner asks for into its band; what it receives
  // there is the transponder the same oscillator shifts to that frequency.
  const IntermediateFrequency tuned = ToIntermediateFrequency(settings.frequencyKHz, settings.lnb);
  const IntermediateFrequency sent = ToIntermediateFrequency(mux.frequencyKHz, settings.lnb);
  return tuned.highBand == sent.highBand && Distance(tuned.khz, sent.khz) <= kSatelliteToleranceKHz;
}
}  // namespace

const VirtualMultiplex* SelectMultiplex(const VirtualTuner& tuner, const TunerSettings& settings) {
  if (!tuner.system || settings.demodulator != DemodulatorNode(*tuner.system)) return nullptr;
  const bool satellite = tuner.system == DeliverySystem::DvbS || tuner.system == DeliverySystem::DvbS2;
  for (const VirtualMultiplex& mux : tuner.multiplexes) {
    const bool match = satellite ? SatelliteMatch(mux, settings)
                                 : Distance(mux.frequencyKHz, settings.frequencyKHz) <= kFrequencyToleranceKHz;
    if (match) return &mux;
  }
  return nullptr;
}
