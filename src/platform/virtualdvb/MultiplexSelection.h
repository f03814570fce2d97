#pragma once
// Which multiplex of a virtual tuner the committed tuner settings receive.
#include "platform/bda/TunerSettings.h"
#include "platform/virtualdvb/VirtualDescription.h"

// Terrestrial, cable and ATSC frequencies match within this distance.
constexpr ULONG kFrequencyToleranceKHz = 250;
// Satellite: the intermediate frequencies, in the same band, within this.
constexpr ULONG kSatelliteToleranceKHz = 2000;

// The multiplex received, or null: a frequency without one, another
// polarisation or DiSEqC input, or a demodulator the tuner does not have.
const VirtualMultiplex* SelectMultiplex(const VirtualTuner& tuner, const TunerSettings& settings);
