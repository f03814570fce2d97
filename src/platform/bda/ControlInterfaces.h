#pragma once
// Control interfaces of a tuner filter's nodes, reached through
// IBDA_Topology::GetControlNode, and the filter's change control. Frequencies
// in kHz. Slots in the platform's order; operations nothing here calls are
// left out.
#include "platform/bda/BdaTypes.h"
#include "platform/com/Unknown.h"

using BOOLEAN = uint8_t;

struct IBDA_SignalStatistics : IUnknown {
  DTV_DECLARE_IID("{1347D106-CF3A-428A-A5CB-AC0D9A2A4338}");
  // Strength and quality from 0 to 100.
  virtual HRESULT get_SignalStrength(LONG* strength) = 0;
  virtual HRESULT get_SignalQuality(LONG* quality) = 0;
  virtual HRESULT get_SignalPresent(BOOLEAN* present) = 0;
  virtual HRESULT get_SignalLocked(BOOLEAN* locked) = 0;
  // Milliseconds after a tune within which a receivable signal is locked:
  // no lock later than that means there is nothing on the frequency.
  virtual HRESULT get_LockTime(ULONG* ms) = 0;

 protected:
  ~IBDA_SignalStatistics() = default;
};

struct IBDA_FrequencyFilter : IUnknown {
  DTV_DECLARE_IID("{71985F47-1CA1-11D3-9CC8-00C04F7971E0}");
  virtual HRESULT put_Frequency(ULONG khz) = 0;
  virtual HRESULT get_Frequency(ULONG* khz) = 0;
  virtual HRESULT put_Polarity(Polarisation polarisation) = 0;
  virtual HRESULT get_Polarity(Polarisation* polarisation) = 0;
  // The LNB input of a DiSEqC switch: bit 0 the position, bit 8 the option
  // (0, 1, 256, 257 for the inputs 1 to 4).
  virtual HRESULT put_Range(ULONG range) = 0;
  virtual HRESULT get_Range(ULONG* range) = 0;
  virtual HRESULT put_Bandwidth(ULONG mhz) = 0;
  virtual HRESULT get_Bandwidth(ULONG* mhz) = 0;

 protected:
  ~IBDA_FrequencyFilter() = default;
};

struct IBDA_LNBInfo : IUnknown {
  DTV_DECLARE_IID("{992CF102-49F9-4719-A664-C4F23E2408F4}");
  virtual HRESULT put_LocalOscilatorFrequencyLowBand(ULONG khz) = 0;
  virtual HRESULT get_LocalOscilatorFrequencyLowBand(ULONG* khz) = 0;
  virtual HRESULT put_LocalOscilatorFrequencyHighBand(ULONG khz) = 0;
  virtual HRESULT get_LocalOscilatorFrequencyHighBand(ULONG* khz) = 0;
  virtual HRESULT put_HighLowSwitchFrequency(ULONG khz) = 0;
  virtual HRESULT get_HighLowSwitchFrequency(ULONG* khz) = 0;

 protected:
  ~IBDA_LNBInfo() = default;
};

// Symbol rate in ksymbol/s.
struct IBDA_DigitalDemodulator : IUnknown {
  DTV_DECLARE_IID("{EF30F379-985B-4D10-B640-A79D5E04E1E0}");
  virtual HRESULT put_ModulationType(ModulationType modulation) = 0;
  virtual HRESULT get_ModulationType(ModulationType* modulation) = 0;
  virtual HRESULT put_InnerFECRate(BinaryConvolutionCodeRate rate) = 0;
  virtual HRESULT get_InnerFECRate(BinaryConvolutionCodeRate* rate) = 0;
  virtual HRESULT put_SymbolRate(ULONG rate) = 0;
  virtual HRESULT get_SymbolRate(ULONG* rate) = 0;
  virtual HRESULT put_SpectralInversion(SpectralInversion inversion) = 0;
  virtual HRESULT get_SpectralInversion(SpectralInversion* inversion) = 0;

 protected:
  ~IBDA_DigitalDemodulator() = default;
};

// The DVB-S2 demodulator settings.
struct IBDA_DigitalDemodulator2 : IBDA_DigitalDemodulator {
  DTV_DECLARE_IID("{525ED3EE-5CF3-4E1E-9A06-5368A84F9A6E}");
  virtual HRESULT put_RollOff(RollOff rollOff) = 0;
  virtual HRESULT get_RollOff(RollOff* rollOff) = 0;
  virtual HRESULT put_Pilot(Pilot pilot) = 0;
  virtual HRESULT get_Pilot(Pilot* pilot) = 0;

 protected:
  ~IBDA_DigitalDemodulator2() = default;
};

// Node settings take effect together: StartChanges opens a set of changes,
// CheckChanges tells whether the device can apply them, CommitChanges tunes.
struct IBDA_DeviceControl : IUnknown {
  DTV_DECLARE_IID("{FD0A5AF3-B41D-11D2-9C95-00C04F7971E0}");
  virtual HRESULT StartChanges() = 0;
  virtual HRESULT CheckChanges() = 0;
  virtual HRESULT CommitChanges() = 0;
  virtual HRESULT GetChangeState(ULONG* state) = 0;

 protected:
  ~IBDA_DeviceControl() = default;
};

enum BDA_CHANGE_STATE : ULONG { BDA_CHANGES_COMPLETE = 0, BDA_CHANGES_PENDING = 1 };
