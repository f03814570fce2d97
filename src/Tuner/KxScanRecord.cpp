#include "Tuner/KxScanRecord.h"

KxTuningInfo TuningInfoOf(const KxScanRecord& record) {
  KxTuningInfo info;
  info.nFrequency = record.nFrequency;
  info.nSymbolRate = record.nSymbolRate;
  info.nPolarisation = record.nPolarisation;
  info.nModulation = record.nModulation;
  info.nBandwidth = record.nBandwidth;
  info.nPhysicalChannel = record.nPhysicalChannel;
  info.nHighOscillator = record.nHighOscillator;
  info.nLnbSwitch = record.nLnbSwitch;
  info.nLowOscillator = record.nLowOscillator;
  info.nInnerFec = record.nInnerFec;
  info.nRollOff = record.nRolloff;
  info.nPilot = record.nPilot;
  return info;
}
