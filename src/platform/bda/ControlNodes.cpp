#include "platform/bda/ControlNodes.h"

HRESULT CNodeBase::SignalValue(LONG* out, LONG SignalStatus::*field) const {
  if (!out) return E_POINTER;
  *out = m_filter->Signal().*field;
  return S_OK;
}

HRESULT CNodeBase::SignalFlag(BOOLEAN* out, bool SignalStatus::*field) const {
  if (!out) return E_POINTER;
  *out = m_filter->Signal().*field ? 1 : 0;
  return S_OK;
}

HRESULT CRfTunerNode::put_Frequency(ULONG khz) {
  return Set([&](TunerSettings& s) { s.frequencyKHz = khz; });
}
HRESULT CRfTunerNode::get_Frequency(ULONG* khz) { return Get(khz, &TunerSettings::frequencyKHz); }
HRESULT CRfTunerNode::put_Polarity(Polarisation polarisation) {
  return Set([&](TunerSettings& s) { s.polarisation = polarisation; });
}
HRESULT CRfTunerNode::get_Polarity(Polarisation* polarisation) { return Get(polarisation, &TunerSettings::polarisation); }
HRESULT CRfTunerNode::put_Range(ULONG range) {
  return Set([&](TunerSettings& s) { s.range = range; });
}
HRESULT CRfTunerNode::get_Range(ULONG* range) {
  if (!range) return E_POINTER;
  *range = m_filter->PendingSettings().range.value_or(0);
  return S_OK;
}
HRESULT CRfTunerNode::put_Bandwidth(ULONG mhz) {
  return Set([&](TunerSettings& s) { s.bandwidthMHz = mhz; });
}
HRESULT CRfTunerNode::get_Bandwidth(ULONG* mhz) { return Get(mhz, &TunerSettings::bandwidthMHz); }

HRESULT CRfTunerNode::put_LocalOscilatorFrequencyLowBand(ULONG khz) {
  return Set([&](TunerSettings& s) { s.lnb.lowKHz = khz; });
}
HRESULT CRfTunerNode::get_LocalOscilatorFrequencyLowBand(ULONG* khz) { return GetLnb(khz, &LnbOscillators::lowKHz); }
HRESULT CRfTunerNode::put_LocalOscilatorFrequencyHighBand(ULONG khz) {
  return Set([&](TunerSettings& s) { s.lnb.highKHz = khz; });
}
HRESULT CRfTunerNode::get_LocalOscilatorFrequencyHighBand(ULONG* khz) { return GetLnb(khz, &LnbOscillators::highKHz); }
HRESULT CRfTunerNode::put_HighLowSwitchFrequency(ULONG khz) {
  return Set([&](TunerSettings& s) { s.lnb.switchKHz = khz; });
}
HRESULT CRfTunerNode::get_HighLowSwitchFrequency(ULONG* khz) { return GetLnb(khz, &LnbOscillators::switchKHz); }

HRESULT CDemodulatorNode::put_ModulationType(ModulationType modulation) {
  return SetDemodulator(&TunerSettings::modulation, modulation);
}
HRESULT CDemodulatorNode::get_ModulationType(ModulationType* modulation) {
  return Get(modulation, &TunerSettings::modulation);
}
HRESULT CDemodulatorNode::put_InnerFECRate(BinaryConvolutionCodeRate rate) {
  return SetDemodulator(&TunerSettings::innerFec, rate);
}
HRESULT CDemodulatorNode::get_InnerFECRate(BinaryConvolutionCodeRate* rate) {
  return Get(rate, &TunerSettings::innerFec);
}
HRESULT CDemodulatorNode::put_SymbolRate(ULONG rate) { return SetDemodulator(&TunerSettings::symbolRate, rate); }
HRESULT CDemodulatorNode::get_SymbolRate(ULONG* rate) { return Get(rate, &TunerSettings::symbolRate); }
HRESULT CDemodulatorNode::put_SpectralInversion(SpectralInversion inversion) {
  return SetDemodulator(&TunerSettings::inversion, inversion);
}
HRESULT CDemodulatorNode::get_SpectralInversion(SpectralInversion* inversion) {
  return Get(inversion, &TunerSettings::inversion);
}
HRESULT CDemodulatorNode::put_RollOff(RollOff rollOff) { return SetDemodulator(&TunerSettings::rollOff, rollOff); }
HRESULT CDemodulatorNode::get_RollOff(RollOff* rollOff) { return Get(rollOff, &TunerSettings::rollOff); }
HRESULT CDemodulatorNode::put_Pilot(Pilot pilot) { return SetDemodulator(&TunerSettings::pilot, pilot); }
HRESULT CDemodulatorNode::get_Pilot(Pilot* pilot) { return Get(pilot, &TunerSettings::pilot); }
