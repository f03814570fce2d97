#pragma once
// Locators: the physical parameters of one multiplex (every value -1 until set).
#include "platform/bda/TuningInterfaces.h"
#include "platform/com/ComObject.h"
#include "platform/com/Property.h"

template <class Interface>
class CLocatorBase : public Interface {
 public:
  HRESULT get_CarrierFrequency(LONG* khz) override { return GetProperty(khz, m_frequency); }
  HRESULT put_CarrierFrequency(LONG khz) override { return PutProperty(m_frequency, khz); }
  HRESULT get_InnerFECRate(BinaryConvolutionCodeRate* rate) override { return GetProperty(rate, m_innerFecRate); }
  HRESULT put_InnerFECRate(BinaryConvolutionCodeRate rate) override { return PutProperty(m_innerFecRate, rate); }
  HRESULT get_Modulation(ModulationType* modulation) override { return GetProperty(modulation, m_modulation); }
  HRESULT put_Modulation(ModulationType modulation) override { return PutProperty(m_modulation, modulation); }
  HRESULT get_SymbolRate(LONG* rate) override { return GetProperty(rate, m_symbolRate); }
  HRESULT put_SymbolRate(LONG rate) override { return PutProperty(m_symbolRate, rate); }

 protected:
  virtual ~CLocatorBase() = default;

 private:
  LONG m_frequency = -1;
  BinaryConvolutionCodeRate m_innerFecRate = BDA_BCC_RATE_NOT_SET;
  ModulationType m_modulation = BDA_MOD_NOT_SET;
  LONG m_symbolRate = -1;
};

class CDVBCLocator : public CLocatorBase<ILocator> {
 public:
  using InterfaceMap = ::InterfaceMap<ILocator>;
};

class CDVBTLocator : public CLocatorBase<IDVBTLocator> {
 public:
  using InterfaceMap = ::InterfaceMap<IDVBTLocator, InterfaceVia<ILocator, IDVBTLocator>>;
  HRESULT get_Bandwidth(LONG* mhz) override { return GetProperty(mhz, m_bandwidth); }
  HRESULT put_Bandwidth(LONG mhz) override { return PutProperty(m_bandwidth, mhz); }

 private:
  LONG m_bandwidth = -1;
};

class CDVBSLocator : public CLocatorBase<IDVBSLocator2> {
 public:
  using InterfaceMap = ::InterfaceMap<IDVBSLocator2, InterfaceVia<IDVBSLocator, IDVBSLocator2>,
                                      InterfaceVia<ILocator, IDVBSLocator2>>;
  HRESULT get_SignalPolarisation(Polarisation* polarisation) override {
    return GetProperty(polarisation, m_polarisation);
  }
  HRESULT put_SignalPolarisation(Polarisation polarisation) override {
    return PutProperty(m_polarisation, polarisation);
  }
  HRESULT get_WestPosition(VARIANT_BOOL* west) override { return GetProperty(west, m_west); }
  HRESULT put_WestPosition(VARIANT_BOOL west) override { return PutProperty(m_west, west); }
  HRESULT get_OrbitalPosition(LONG* position) override { return GetProperty(position, m_orbitalPosition); }
  HRESULT put_OrbitalPosition(LONG position) override { return PutProperty(m_orbitalPosition, position); }
  HRESULT get_SignalRollOff(RollOff* rollOff) override { return GetProperty(rollOff, m_rollOff); }
  HRESULT put_SignalRollOff(RollOff rollOff) override { return PutProperty(m_rollOff, rollOff); }
  HRESULT get_SignalPilot(Pilot* pilot) override { return GetProperty(pilot, m_pilot); }
  HRESULT put_SignalPilot(Pilot pilot) override { return PutProperty(m_pilot, pilot); }

 private:
  Polarisation m_polarisation = BDA_POLARISATION_NOT_SET;
  RollOff m_rollOff = BDA_ROLL_OFF_NOT_SET;
  Pilot m_pilot = BDA_PILOT_NOT_SET;
  VARIANT_BOOL m_west = VARIANT_FALSE;
  LONG m_orbitalPosition = -1;
};

class CATSCLocator : public CLocatorBase<IATSCLocator> {
 public:
  using InterfaceMap = ::InterfaceMap<IATSCLocator, InterfaceVia<ILocator, IATSCLocator>>;
  HRESULT get_PhysicalChannel(LONG* channel) override { return GetProperty(channel, m_physicalChannel); }
  HRESULT put_PhysicalChannel(LONG channel) override { return PutProperty(m_physicalChannel, channel); }
  HRESULT get_TSID(LONG* tsid) override { return GetProperty(tsid, m_tsid); }
  HRESULT put_TSID(LONG tsid) override { return PutProperty(m_tsid, tsid); }

 private:
  LONG m_physicalChannel = -1;
  LONG m_tsid = -1;
};
