#pragma once
// What a network provider sets on a tuner filter's nodes, as the filter
// applies it when the changes are committed; and the frequency arithmetic
// both tuners share.
#include <optional>

#include "platform/bda/BdaTypes.h"

struct LnbOscillators {
  ULONG lowKHz = 0;
  ULONG highKHz = 0;
  ULONG switchKHz = 0;  // transponders from here up are in the high band
};

struct TunerSettings {
  GUID demodulator = GUID_NULL;  // function of the demodulator node set last: the kind of network
  ULONG frequencyKHz = 0;        // carrier frequency; satellite: the transponder's
  ULONG bandwidthMHz = 0;
  Polarisation polarisation = BDA_POLARISATION_NOT_SET;
  std::optional<ULONG> range;  // DiSEqC input, as put_Range takes it
  LnbOscillators lnb;
  ModulationType modulation = BDA_MOD_NOT_SET;
  BinaryConvolutionCodeRate innerFec = BDA_BCC_RATE_NOT_SET;
  RollOff rollOff = BDA_ROLL_OFF_NOT_SET;
  Pilot pilot = BDA_PILOT_NOT_SET;
  ULONG symbolRate = 0;  // ksymbol/s
  SpectralInversion inversion = BDA_SPECTRAL_INVERSION_NOT_SET;
};

// The DiSEqC input 0 to 3 of a put_Range value (bit 0 position, bit 8 option).
int DiseqcInput(ULONG range);

// The oscillators in use: unset values are those of a universal LNB
// (9750000 / 10600000 / 11700000 kHz).
LnbOscillators EffectiveOscillators(const LnbOscillators& lnb);

struct IntermediateFrequency {
  ULONG khz = 0;
  bool highBand = false;
};
// What the LNB turns a transponder frequency into.
IntermediateFrequency ToIntermediateFrequency(ULONG transponderKHz, const LnbOscillators& lnb);

// Centre frequency of an ATSC physical channel (2 to 69); 0 for others.
ULONG AtscChannelCentreKHz(LONG physicalChannel);
// Cable frequency lists give the analog picture carrier, 1750 kHz below the
// centre of the 6 MHz channel a QAM signal fills.
constexpr ULONG kPictureCarrierToCentreKHz = 1750;

// Horizontal and left circular: 18 V; vertical and right circular: 13 V.
bool IsHighVoltagePolarisation(Polarisation polarisation);
