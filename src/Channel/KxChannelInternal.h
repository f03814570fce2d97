#pragma once
// The data of a channel with its defaults (-1 means unknown).
#include <string>

#include "Channel/PidRecord.h"
#include "platform/com/BStr.h"

class CKxChannelInternal {
 public:
  // Fields an adder does not take keep their previous values.
  void AddOtherPid(LONG pid, LONG streamType);
  void AddVideoPid(LONG pid, LONG streamType);
  void AddAudioPid(LONG pid, LONG streamType, std::u16string_view language, bool ac3);
  void AddTeletextPid(LONG pid, LONG streamType, std::u16string_view language, LONG teletextType, LONG magazine,
                      LONG page);
  void AddPmtPid(LONG pid);

 protected:
  ChannelPidRecord& Record(LONG pid, PidRecordKind kind);

  LONG m_lType = 0;
  LONG m_lProgramNumber = -1;
  BStr m_bstrTitle{u""};
  LONG m_lCountryCode = -1;
  LONG m_lInputSource = 0;
  LONG m_lAnalogInputType = 0;
  LONG m_lTunerMode = 1;
  bool m_bScrambled = false;
  bool m_bVisible = true;
  BStr m_bstrVideoDevice{u""};
  BStr m_bstrAudioDevice{u""};
  LONG m_lCarrierFrequency = -1;
  LONG m_lBandwidth = -1;
  LONG m_lNetworkId = -1;
  LONG m_lServiceId = -1;
  LONG m_lTransportStreamId = -1;
  BStr m_bstrNetworkName{u""};
  LONG m_lInnerFec = -1;
  LONG m_lOuterFec = -1;
  BStr m_bstrSatellite;
  LONG m_lModulation = -1;
  LONG m_lSymbolRate = -1;
  LONG m_lSignalPolarisation = -1;
  LONG m_lRunningState = -1;
  LONG m_lPcrPid = -1;
  LONG m_lServiceType = -1;
  BStr m_bstrServiceProviderName{u""};
  LONG m_lPhysicalChannel = -1;
  LONG m_lMajorChannel = -1;
  LONG m_lMinorChannel = -1;
  LONG m_lSourceId = -1;
  LONG m_lChannelTsId = -1;
  LONG m_lChannelFlags = -1;
  LONG m_lPilot = -1;
  LONG m_lRolloff = -1;
  LONG m_lSignalQuality = -1;
  LONG m_lLnbPosition = 0;
  LONG m_lHighOscillator = -1;
  LONG m_lLnbSwitch = -1;
  LONG m_lLowOscillator = -1;
  PidRecordMap m_pids;
  LONG m_lVideoStreamType = 0;
};
