#pragma once
// Snapshots of a channel search's results as handed to the graph manager and
// the tuners: the channel list, one channel, the announced transponders.
#include <cstdint>
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

// A boolean out-parameter of these interfaces is one byte (nonzero = true).
using boolean = uint8_t;

struct IChannel : IUnknown {
  DTV_DECLARE_IID("{FEBDAC3B-D925-4E81-9A43-B359F8139033}");
  virtual HRESULT get_Reserved(LONG* plReserved) = 0;
  virtual HRESULT get_ProgramNumber(LONG* plProgramNumber) = 0;
  virtual HRESULT get_TransportStreamId(LONG* plTransportStreamId) = 0;
  virtual HRESULT get_ChannelName(BSTR* pbstrChannelName) = 0;
  virtual HRESULT get_IsCa(boolean* pbIsCa) = 0;
  virtual HRESULT get_NetworkId(LONG* plNetworkId) = 0;
  virtual HRESULT get_OriginalNetworkId(LONG* plOriginalNetworkId) = 0;
  virtual HRESULT get_ServiceId(LONG* plServiceId) = 0;
  virtual HRESULT get_SourceId(LONG* plSourceId) = 0;
  virtual HRESULT get_PcrPid(LONG* plPcrPid) = 0;
  virtual HRESULT get_ChannelTsId(LONG* plChannelTsId) = 0;
  virtual HRESULT get_NumberOfPids(LONG* plCount) = 0;
  virtual HRESULT GetPidInfo(LONG lIndex, LONG* plPid, LONG* plStreamType, LONG* plClassification) = 0;
  virtual HRESULT get_ServiceProvider(BSTR* pbstrServiceProvider) = 0;
  virtual HRESULT get_ServiceType(LONG* plServiceType) = 0;
  virtual HRESULT get_NetworkName(BSTR* pbstrNetworkName) = 0;
  virtual HRESULT get_Running(LONG* plRunning) = 0;
  virtual HRESULT get_CarrierFrequency(LONG* plFrequency) = 0;
  virtual HRESULT get_SymbolRate(LONG* plSymbolRate) = 0;
  virtual HRESULT get_SignalPolarisation(LONG* plPolarisation) = 0;
  virtual HRESULT get_MajorChannelNumber(LONG* plMajor) = 0;
  virtual HRESULT get_MinorChannelNumber(LONG* plMinor) = 0;
  virtual HRESULT get_Bandwidth(LONG* plBandwidth) = 0;
  virtual HRESULT get_Modulation(LONG* plModulation) = 0;
  virtual HRESULT get_OrbitalPosition(LONG* plOrbitalPosition) = 0;
  virtual HRESULT get_OrbitalPositionFlag(LONG* plWestEast) = 0;
  virtual HRESULT get_NumberOfAudio(LONG* plCount) = 0;
  virtual HRESULT GetAudioInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, boolean* pbAc3) = 0;
  virtual HRESULT get_NumberOfTeletextInfo(LONG* plCount) = 0;
  virtual HRESULT GetTeletextInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, LONG* plType, LONG* plMagazine,
                                  LONG* plPage) = 0;
  virtual HRESULT get_NumberOfSubtitleInfo(LONG* plCount) = 0;
  virtual HRESULT GetSubtitleInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, LONG* plType,
                                  LONG* plCompositionPage, LONG* plAncillaryPage) = 0;
  virtual HRESULT get_PmtPid(LONG* plPmtPid) = 0;
  virtual HRESULT get_IsDvbS2(boolean* pbIsDvbS2) = 0;
  virtual HRESULT get_RollOff(LONG* plRollOff) = 0;
  virtual HRESULT get_S2BackwardsCompatibility(LONG* plValue) = 0;
  virtual HRESULT get_VideoStreamType(LONG* plVideoStreamType) = 0;

 protected:
  ~IChannel() = default;
};

struct IChannels : IUnknown {
  DTV_DECLARE_IID("{8B467964-400D-485F-9A3D-5C80DDF0075C}");
  virtual HRESULT get_Count(LONG* plCount) = 0;
  virtual HRESULT get_Item(LONG lIndex, IChannel** ppItem) = 0;

 protected:
  ~IChannels() = default;
};

struct ITransponderFrequency : IUnknown {
  DTV_DECLARE_IID("{E176D277-74DE-4380-B184-070DF1BE67B9}");
  virtual HRESULT get_CarrierFrequency(LONG* plFrequency) = 0;
  virtual HRESULT get_SymbolRate(LONG* plSymbolRate) = 0;
  virtual HRESULT get_Modulation(LONG* plModulation) = 0;
  virtual HRESULT get_Polarisation(LONG* plPolarisation) = 0;
  virtual HRESULT get_Bandwidth(LONG* plBandwidth) = 0;
  virtual HRESULT get_OrbitalPosition(LONG* plOrbitalPosition) = 0;
  virtual HRESULT get_WestEastFlag(LONG* plWestEast) = 0;

 protected:
  ~ITransponderFrequency() = default;
};

struct ITransponderFrequencies : IUnknown {
  DTV_DECLARE_IID("{5BFCCF96-F0CB-48B7-83C7-F944EBDF678F}");
  virtual HRESULT get_Count(LONG* plCount) = 0;
  virtual HRESULT get_Item(LONG lIndex, ITransponderFrequency** ppItem) = 0;

 protected:
  ~ITransponderFrequencies() = default;
};
