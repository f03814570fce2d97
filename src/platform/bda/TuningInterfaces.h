#pragma once
// The tuning object model of the broadcast driver model: a tuning space
// describes a network, a locator the physical parameters of one multiplex, a
// tune request both together with the service ids; the network provider's
// tuner takes tune requests. Slots are in the platform's order; operations
// nothing here calls are left out.
#include "platform/bda/BdaTypes.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

struct ILocator;
struct ITuneRequest;

struct ITuningSpace : IUnknown {
  DTV_DECLARE_IID("{061C6E30-E622-11D2-9493-00C04F72D980}");
  virtual HRESULT get_UniqueName(BSTR* name) = 0;
  virtual HRESULT put_UniqueName(BSTR name) = 0;
  virtual HRESULT get_FriendlyName(BSTR* name) = 0;
  virtual HRESULT put_FriendlyName(BSTR name) = 0;
  virtual HRESULT get_CLSID(CLSID* clsid) = 0;
  // The class of the network provider that takes this space's requests.
  virtual HRESULT get__NetworkType(GUID* networkType) = 0;
  virtual HRESULT put__NetworkType(REFCLSID networkType) = 0;
  virtual HRESULT CreateTuneRequest(ITuneRequest** request) = 0;
  virtual HRESULT get_DefaultLocator(ILocator** locator) = 0;
  virtual HRESULT put_DefaultLocator(ILocator* locator) = 0;

 protected:
  ~ITuningSpace() = default;
};

struct IDVBTuningSpace : ITuningSpace {
  DTV_DECLARE_IID("{ADA0B268-3B19-4E5B-ACC4-49F852BE13BA}");
  virtual HRESULT get_SystemType(DVBSystemType* type) = 0;
  virtual HRESULT put_SystemType(DVBSystemType type) = 0;

 protected:
  ~IDVBTuningSpace() = default;
};

struct IDVBTuningSpace2 : IDVBTuningSpace {
  DTV_DECLARE_IID("{843188B4-CE62-43DB-966B-8145A094E040}");
  virtual HRESULT get_NetworkID(LONG* id) = 0;
  virtual HRESULT put_NetworkID(LONG id) = 0;

 protected:
  ~IDVBTuningSpace2() = default;
};

// Oscillators and switch frequency in kHz.
struct IDVBSTuningSpace : IDVBTuningSpace2 {
  DTV_DECLARE_IID("{CDF7BE60-D954-42FD-A972-78971958E470}");
  virtual HRESULT get_LowOscillator(LONG* khz) = 0;
  virtual HRESULT put_LowOscillator(LONG khz) = 0;
  virtual HRESULT get_HighOscillator(LONG* khz) = 0;
  virtual HRESULT put_HighOscillator(LONG khz) = 0;
  virtual HRESULT get_LNBSwitch(LONG* khz) = 0;
  virtual HRESULT put_LNBSwitch(LONG khz) = 0;

 protected:
  ~IDVBSTuningSpace() = default;
};

struct IAnalogTVTuningSpace : ITuningSpace {
  DTV_DECLARE_IID("{2A6E293C-2595-11D3-B64C-00C04F79498E}");
  virtual HRESULT get_MinChannel(LONG* channel) = 0;
  virtual HRESULT put_MinChannel(LONG channel) = 0;
  virtual HRESULT get_MaxChannel(LONG* channel) = 0;
  virtual HRESULT put_MaxChannel(LONG channel) = 0;
  virtual HRESULT get_InputType(TunerInputType* type) = 0;
  virtual HRESULT put_InputType(TunerInputType type) = 0;
  virtual HRESULT get_CountryCode(LONG* code) = 0;
  virtual HRESULT put_CountryCode(LONG code) = 0;

 protected:
  ~IAnalogTVTuningSpace() = default;
};

struct IATSCTuningSpace : IAnalogTVTuningSpace {
  DTV_DECLARE_IID("{0369B4E2-45B6-11D3-B650-00C04F79498E}");
  virtual HRESULT get_MinMinorChannel(LONG* channel) = 0;
  virtual HRESULT put_MinMinorChannel(LONG channel) = 0;
  virtual HRESULT get_MaxMinorChannel(LONG* channel) = 0;
  virtual HRESULT put_MaxMinorChannel(LONG channel) = 0;
  virtual HRESULT get_MinPhysicalChannel(LONG* channel) = 0;
  virtual HRESULT put_MinPhysicalChannel(LONG channel) = 0;
  virtual HRESULT get_MaxPhysicalChannel(LONG* channel) = 0;
  virtual HRESULT put_MaxPhysicalChannel(LONG channel) = 0;

 protected:
  ~IATSCTuningSpace() = default;
};

// Carrier frequency in kHz, symbol rate in ksymbol/s; -1 means not set.
struct ILocator : IUnknown {
  DTV_DECLARE_IID("{286D7F89-760C-4F89-80C4-66841D2507AA}");
  virtual HRESULT get_CarrierFrequency(LONG* khz) = 0;
  virtual HRESULT put_CarrierFrequency(LONG khz) = 0;
  virtual HRESULT get_InnerFECRate(BinaryConvolutionCodeRate* rate) = 0;
  virtual HRESULT put_InnerFECRate(BinaryConvolutionCodeRate rate) = 0;
  virtual HRESULT get_Modulation(ModulationType* modulation) = 0;
  virtual HRESULT put_Modulation(ModulationType modulation) = 0;
  virtual HRESULT get_SymbolRate(LONG* rate) = 0;
  virtual HRESULT put_SymbolRate(LONG rate) = 0;

 protected:
  ~ILocator() = default;
};

// Bandwidth in MHz.
struct IDVBTLocator : ILocator {
  DTV_DECLARE_IID("{8664DA16-DDA2-42AC-926A-C18F9127C302}");
  virtual HRESULT get_Bandwidth(LONG* mhz) = 0;
  virtual HRESULT put_Bandwidth(LONG mhz) = 0;

 protected:
  ~IDVBTLocator() = default;
};

// Orbital position in tenths of a degree, west of the meridian when the
// west flag is set.
struct IDVBSLocator : ILocator {
  DTV_DECLARE_IID("{3D7C353C-0D04-45F1-A742-F97CC1188DC8}");
  virtual HRESULT get_SignalPolarisation(Polarisation* polarisation) = 0;
  virtual HRESULT put_SignalPolarisation(Polarisation polarisation) = 0;
  virtual HRESULT get_WestPosition(VARIANT_BOOL* west) = 0;
  virtual HRESULT put_WestPosition(VARIANT_BOOL west) = 0;
  virtual HRESULT get_OrbitalPosition(LONG* position) = 0;
  virtual HRESULT put_OrbitalPosition(LONG position) = 0;

 protected:
  ~IDVBSLocator() = default;
};

// The DVB-S2 parameters of a satellite multiplex.
struct IDVBSLocator2 : IDVBSLocator {
  DTV_DECLARE_IID("{6044634A-1733-4F99-B982-5FB12AFCE4F0}");
  virtual HRESULT get_SignalRollOff(RollOff* rollOff) = 0;
  virtual HRESULT put_SignalRollOff(RollOff rollOff) = 0;
  virtual HRESULT get_SignalPilot(Pilot* pilot) = 0;
  virtual HRESULT put_SignalPilot(Pilot pilot) = 0;

 protected:
  ~IDVBSLocator2() = default;
};

struct IATSCLocator : ILocator {
  DTV_DECLARE_IID("{BF8D986F-8C2B-4131-94D7-4D3D9FCC21EF}");
  virtual HRESULT get_PhysicalChannel(LONG* channel) = 0;
  virtual HRESULT put_PhysicalChannel(LONG channel) = 0;
  virtual HRESULT get_TSID(LONG* tsid) = 0;
  virtual HRESULT put_TSID(LONG tsid) = 0;

 protected:
  ~IATSCLocator() = default;
};

struct ITuneRequest : IUnknown {
  DTV_DECLARE_IID("{07DDC146-FC3D-11D2-9D8C-00C04F72D980}");
  virtual HRESULT get_TuningSpace(ITuningSpace** space) = 0;
  virtual HRESULT get_Locator(ILocator** locator) = 0;
  virtual HRESULT put_Locator(ILocator* locator) = 0;

 protected:
  ~ITuneRequest() = default;
};

struct IDVBTuneRequest : ITuneRequest {
  DTV_DECLARE_IID("{0D6F567E-A636-42BB-83BA-CE4C1704AFA2}");
  virtual HRESULT get_ONID(LONG* onid) = 0;
  virtual HRESULT put_ONID(LONG onid) = 0;
  virtual HRESULT get_TSID(LONG* tsid) = 0;
  virtual HRESULT put_TSID(LONG tsid) = 0;
  virtual HRESULT get_SID(LONG* sid) = 0;
  virtual HRESULT put_SID(LONG sid) = 0;

 protected:
  ~IDVBTuneRequest() = default;
};

struct IChannelTuneRequest : ITuneRequest {
  DTV_DECLARE_IID("{0369B4E0-45B6-11D3-B650-00C04F79498E}");
  virtual HRESULT get_Channel(LONG* channel) = 0;
  virtual HRESULT put_Channel(LONG channel) = 0;

 protected:
  ~IChannelTuneRequest() = default;
};

struct IATSCChannelTuneRequest : IChannelTuneRequest {
  DTV_DECLARE_IID("{0369B4E1-45B6-11D3-B650-00C04F79498E}");
  virtual HRESULT get_MinorChannel(LONG* channel) = 0;
  virtual HRESULT put_MinorChannel(LONG channel) = 0;

 protected:
  ~IATSCChannelTuneRequest() = default;
};

// The network provider's face to its users.
struct ITuner : IUnknown {
  DTV_DECLARE_IID("{28C52640-018A-11D3-9D8E-00C04F72D980}");
  virtual HRESULT get_TuningSpace(ITuningSpace** space) = 0;
  virtual HRESULT put_TuningSpace(ITuningSpace* space) = 0;
  virtual HRESULT get_TuneRequest(ITuneRequest** request) = 0;
  // Tunes the connected tuner filter to the request (only stores it while
  // the provider is not connected).
  virtual HRESULT put_TuneRequest(ITuneRequest* request) = 0;
  // S_OK when the provider can tune to the request.
  virtual HRESULT Validate(ITuneRequest* request) = 0;
  // Signal strength of the tuned multiplex (0 to 100).
  virtual HRESULT get_SignalStrength(LONG* strength) = 0;

 protected:
  ~ITuner() = default;
};

// The scanning operations (seek, scan, auto-program) are not offered: the
// plug-in scans by frequency lists and uses only what ITuner has.
struct IScanningTuner : ITuner {
  DTV_DECLARE_IID("{1DFD0A5C-0284-11D3-9D8E-00C04F72D980}");

 protected:
  ~IScanningTuner() = default;
};
