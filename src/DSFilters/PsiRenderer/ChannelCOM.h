#pragma once
// A snapshot of one channel: its own copy, never changed afterwards.
#include "DSFilters/PsiRenderer/engine/Channel.h"
#include "interfaces/IChannel.h"
#include "platform/com/ComObject.h"

class CChannelCOM : public CChannel, public IChannel {
 public:
  using InterfaceMap = ::InterfaceMap<IChannel>;

  explicit CChannelCOM(const CChannel& channel);
  virtual ~CChannelCOM();

  static HRESULT CreateInstance(const CChannel& channel, IChannel** ppChannel);

  HRESULT get_Reserved(LONG* plReserved) override;
  HRESULT get_ProgramNumber(LONG* plProgramNumber) override;
  HRESULT get_TransportStreamId(LONG* plTransportStreamId) override;
  HRESULT get_ChannelName(BSTR* pbstrChannelName) override;
  HRESULT get_IsCa(boolean* pbIsCa) override;
  HRESULT get_NetworkId(LONG* plNetworkId) override;
  HRESULT get_OriginalNetworkId(LONG* plOriginalNetworkId) override;
  HRESULT get_ServiceId(LONG* plServiceId) override;
  HRESULT get_SourceId(LONG* plSourceId) override;
  HRESULT get_PcrPid(LONG* plPcrPid) override;
  HRESULT get_ChannelTsId(LONG* plChannelTsId) override;
  HRESULT get_NumberOfPids(LONG* plCount) override;
  HRESULT GetPidInfo(LONG lIndex, LONG* plPid, LONG* plStreamType, LONG* plClassification) override;
  HRESULT get_ServiceProvider(BSTR* pbstrServiceProvider) override;
  HRESULT get_ServiceType(LONG* plServiceType) override;
  HRESULT get_NetworkName(BSTR* pbstrNetworkName) override;
  HRESULT get_Running(LONG* plRunning) override;
  HRESULT get_CarrierFrequency(LONG* plFrequency) override;
  HRESULT get_SymbolRate(LONG* plSymbolRate) override;
  HRESULT get_SignalPolarisation(LONG* plPolarisation) override;
  HRESULT get_MajorChannelNumber(LONG* plMajor) override;
  HRESULT get_MinorChannelNumber(LONG* plMinor) override;
  HRESULT get_Bandwidth(LONG* plBandwidth) override;
  HRESULT get_Modulation(LONG* plModulation) override;
  HRESULT get_OrbitalPosition(LONG* plOrbitalPosition) override;
  HRESULT get_OrbitalPositionFlag(LONG* plWestEast) override;
  HRESULT get_NumberOfAudio(LONG* plCount) override;
  HRESULT GetAudioInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, boolean* pbAc3) override;
  HRESULT get_NumberOfTeletextInfo(LONG* plCount) override;
  HRESULT GetTeletextInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, LONG* plType, LONG* plMagazine,
                          LONG* plPage) override;
  HRESULT get_NumberOfSubtitleInfo(LONG* plCount) override;
  HRESULT GetSubtitleInfo(LONG lIndex, LONG* plPid, uint8_t* pLanguage, LONG* plType, LONG* plCompositionPage,
                          LONG* plAncillaryPage) override;
  HRESULT get_PmtPid(LONG* plPmtPid) override;
  HRESULT get_IsDvbS2(boolean* pbIsDvbS2) override;
  HRESULT get_RollOff(LONG* plRollOff) override;
  HRESULT get_S2BackwardsCompatibility(LONG* plValue) override;
  HRESULT get_VideoStreamType(LONG* plVideoStreamType) override;
};
