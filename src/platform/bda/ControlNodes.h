#pragma once
// The control objects of a tuner filter's nodes. They keep their filter
// alive and write into the settings of its changes in progress.
#include "platform/bda/TunerFilter.h"

class CNodeBase {
 protected:
  explicit CNodeBase(CBdaTunerFilter* filter) : m_filter(filter), m_keep(static_cast<IBaseFilter*>(filter)) {}

  HRESULT Set(const std::function<void(TunerSettings&)>& change) {
    m_filter->ChangePending(change);
    return S_OK;
  }
  template <class T>
  HRESULT Get(T* out, T TunerSettings::*field) const {
    if (!out) return E_POINTER;
    *out = m_filter->PendingSettings().*field;
    return S_OK;
  }
  HRESULT GetLnb(ULONG* out, ULONG LnbOscillators::*field) const {
    if (!out) return E_POINTER;
    *out = m_filter->PendingSettings().lnb.*field;
    return S_OK;
  }
  HRESULT SignalValue(LONG* out, LONG SignalStatus::*field) const;
  HRESULT SignalFlag(BOOLEAN* out, bool SignalStatus::*field) const;

  CBdaTunerFilter* const m_filter;

 private:
  const ComPtr<IBaseFilter> m_keep;
};

// Both kinds of node report the filter's signal.
template <class... Controls>
class CSignalNode : public CNodeBase, public Controls..., public IBDA_SignalStatistics {
 public:
  HRESULT get_SignalStrength(LONG* strength) override { return SignalValue(strength, &SignalStatus::strength); }
  HRESULT get_SignalQuality(LONG* quality) override { return SignalValue(quality, &SignalStatus::quality); }
  HRESULT get_SignalPresent(BOOLEAN* present) override { return SignalFlag(present, &SignalStatus::present); }
  HRESULT get_SignalLocked(BOOLEAN* locked) override { return SignalFlag(locked, &SignalStatus::locked); }
  HRESULT get_LockTime(ULONG* ms) override {
    if (!ms) return E_POINTER;
    *ms = m_filter->LockTimeMs();
    return S_OK;
  }

 protected:
  using CNodeBase::CNodeBase;
  virtual ~CSignalNode() = default;
};

// The RF tuner node: frequency, polarisation, DiSEqC input, bandwidth, LNB.
class CRfTunerNode : public CSignalNode<IBDA_FrequencyFilter, IBDA_LNBInfo> {
 public:
  using InterfaceMap = ::InterfaceMap<IBDA_FrequencyFilter, IBDA_LNBInfo, IBDA_SignalStatistics>;
  explicit CRfTunerNode(CBdaTunerFilter* filter) : CSignalNode(filter) {}

  HRESULT put_Frequency(ULONG khz) override;
  HRESULT get_Frequency(ULONG* khz) override;
  HRESULT put_Polarity(Polarisation polarisation) override;
  HRESULT get_Polarity(Polarisation* polarisation) override;
  HRESULT put_Range(ULONG range) override;
  HRESULT get_Range(ULONG* range) override;
  HRESULT put_Bandwidth(ULONG mhz) override;
  HRESULT get_Bandwidth(ULONG* mhz) override;
  HRESULT put_LocalOscilatorFrequencyLowBand(ULONG khz) override;
  HRESULT get_LocalOscilatorFrequencyLowBand(ULONG* khz) override;
  HRESULT put_LocalOscilatorFrequencyHighBand(ULONG khz) override;
  HRESULT get_LocalOscilatorFrequencyHighBand(ULONG* khz) override;
  HRESULT put_HighLowSwitchFrequency(ULONG khz) override;
  HRESULT get_HighLowSwitchFrequency(ULONG* khz) override;
};

// A demodulator node: setting it selects its kind of network for the tune.
class CDemodulatorNode : public CSignalNode<IBDA_DigitalDemodulator2> {
 public:
  using InterfaceMap = ::InterfaceMap<IBDA_DigitalDemodulator2, InterfaceVia<IBDA_DigitalDemodulator, IBDA_DigitalDemodulator2>,
                                      IBDA_SignalStatistics>;
  CDemodulatorNode(CBdaTunerFilter* filter, const GUID& function) : CSignalNode(filter), m_function(function) {}

  HRESULT put_ModulationType(ModulationType modulation) override;
  HRESULT get_ModulationType(ModulationType* modulation) override;
  HRESULT put_InnerFECRate(BinaryConvolutionCodeRate rate) override;
  HRESULT get_InnerFECRate(BinaryConvolutionCodeRate* rate) override;
  HRESULT put_SymbolRate(ULONG rate) override;
  HRESULT get_SymbolRate(ULONG* rate) override;
  HRESULT put_SpectralInversion(SpectralInversion inversion) override;
  HRESULT get_SpectralInversion(SpectralInversion* inversion) override;
  HRESULT put_RollOff(RollOff rollOff) override;
  HRESULT get_RollOff(RollOff* rollOff) override;
  HRESULT put_Pilot(Pilot pilot) override;
  HRESULT get_Pilot(Pilot* pilot) override;

 private:
  // Every setting of a demodulator node also selects its kind of network.
  template <class T>
  HRESULT SetDemodulator(T TunerSettings::*field, T value) {
    return Set([&](TunerSettings& s) {
      s.demodulator = m_function;
      s.*field = value;
    });
  }

  const GUID m_function;
};
