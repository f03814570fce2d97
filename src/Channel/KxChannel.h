#pragma once
// The channel record handed to the host, with its XML form.
#include "Channel/BStrAssign.h"
#include "Channel/KxChannelInternal.h"
#include "interfaces/IKxChannel.h"
#include "platform/com/ComObject.h"
#include "platform/com/Property.h"

class CKxChannel : public CKxChannelInternal, public IKxChannelEx, public IKxXmlSerialisation {
 public:
  using InterfaceMap = ::InterfaceMap<IKxChannelEx, InterfaceVia<IKxChannel, IKxChannelEx>, IKxXmlSerialisation>;

  CKxChannel() = default;
  explicit CKxChannel(const CKxChannelInternal& data) : CKxChannelInternal(data) {}
  virtual ~CKxChannel() = default;

  // The PIDs channel control starts with: the last video entry, the first
  // audio entry and the last PMT entry; 0 for what is missing.
  static HRESULT GetDefaultChannelPids(IKxChannel* pChannel, LONG* plVideoPid, LONG* plAudioPid, LONG* plPmtPid,
                                       LONG* plVideoStreamType, LONG* plAudioStreamType, bool* pbIsAc3);

  // IKxChannel
  HRESULT put_Type(LONG v) override { return PutProperty(m_lType, v); }
  HRESULT get_Type(LONG* p) override { return GetProperty(p, m_lType); }
  HRESULT get_IsRadio(VARIANT_BOOL* p) override;
  HRESULT get_IsTv(VARIANT_BOOL* p) override;
  HRESULT put_ProgramNumber(LONG v) override { return PutProperty(m_lProgramNumber, v); }
  HRESULT get_ProgramNumber(LONG* p) override { return GetProperty(p, m_lProgramNumber); }
  HRESULT put_TunerMode(LONG v) override { return PutProperty(m_lTunerMode, v); }
  HRESULT get_TunerMode(LONG* p) override { return GetProperty(p, m_lTunerMode); }
  HRESULT put_Title(BSTR v) override { return AssignBStr(m_bstrTitle, v); }
  HRESULT get_Title(BSTR* p) override { return m_bstrTitle.CopyTo(p); }
  HRESULT put_CountryCode(LONG v) override { return PutProperty(m_lCountryCode, v); }
  HRESULT get_CountryCode(LONG* p) override { return GetProperty(p, m_lCountryCode); }
  HRESULT put_InputSource(LONG v) override { return PutProperty(m_lInputSource, v); }
  HRESULT get_InputSource(LONG* p) override { return GetProperty(p, m_lInputSource); }
  HRESULT put_AnalogInputType(LONG v) override { return PutProperty(m_lAnalogInputType, v); }
  HRESULT get_AnalogInputType(LONG* p) override { return GetProperty(p, m_lAnalogInputType); }
  HRESULT put_Visible(VARIANT_BOOL v) override { return PutProperty(m_bVisible, v != VARIANT_FALSE); }
  HRESULT get_Visible(VARIANT_BOOL* p) override { return GetProperty(p, ToVariantBool(m_bVisible)); }
  HRESULT put_Scrambled(VARIANT_BOOL v) override { return PutProperty(m_bScrambled, v != VARIANT_FALSE); }
  HRESULT get_Scrambled(VARIANT_BOOL* p) override { return GetProperty(p, ToVariantBool(m_bScrambled)); }
  HRESULT put_VideoDevice(BSTR v) override { return AssignBStr(m_bstrVideoDevice, v); }
  HRESULT get_VideoDevice(BSTR* p) override { return m_bstrVideoDevice.CopyTo(p); }
  HRESULT put_AudioDevice(BSTR v) override { return AssignBStr(m_bstrAudioDevice, v); }
  HRESULT get_AudioDevice(BSTR* p) override { return m_bstrAudioDevice.CopyTo(p); }
  HRESULT put_CarrierFrequency(LONG v) override { return PutProperty(m_lCarrierFrequency, v); }
  HRESULT get_CarrierFrequency(LONG* p) override { return GetProperty(p, m_lCarrierFrequency); }
  HRESULT put_Satellite(BSTR v) override { return AssignBStr(m_bstrSatellite, v); }
  HRESULT get_Satellite(BSTR* p) override { return m_bstrSatellite.CopyTo(p); }
  HRESULT put_Bandwidth(LONG v) override { return PutProperty(m_lBandwidth, v); }
  HRESULT get_Bandwidth(LONG* p) override { return GetProperty(p, m_lBandwidth); }
  HRESULT put_NetworkId(LONG v) override { return PutProperty(m_lNetworkId, v); }
  HRESULT get_NetworkId(LONG* p) override { return GetProperty(p, m_lNetworkId); }
  HRESULT put_ServiceId(LONG v) override { return PutProperty(m_lServiceId, v); }
  HRESULT get_ServiceId(LONG* p) override { return GetProperty(p, m_lServiceId); }
  HRESULT put_TransportStreamId(LONG v) override { return PutProperty(m_lTransportStreamId, v); }
  HRESULT get_TransportStreamId(LONG* p) override { return GetProperty(p, m_lTransportStreamId); }
  HRESULT put_Modulation(LONG v) override { return PutProperty(m_lModulation, v); }
  HRESULT get_Modulation(LONG* p) override { return GetProperty(p, m_lModulation); }
  HRESULT put_SymbolRate(LONG v) override { return PutProperty(m_lSymbolRate, v); }
  HRESULT get_SymbolRate(LONG* p) override { return GetProperty(p, m_lSymbolRate); }
  HRESULT put_SignalPolarisation(LONG v) override { return PutProperty(m_lSignalPolarisation, v); }
  HRESULT get_SignalPolarisation(LONG* p) override { return GetProperty(p, m_lSignalPolarisation); }
  HRESULT put_ServiceType(LONG v) override { return PutProperty(m_lServiceType, v); }
  HRESULT get_ServiceType(LONG* p) override { return GetProperty(p, m_lServiceType); }
  HRESULT put_ServiceProviderName(BSTR v) override { return AssignBStr(m_bstrServiceProviderName, v); }
  HRESULT get_ServiceProvider(BSTR* p) override { return m_bstrServiceProviderName.CopyTo(p); }
  HRESULT put_PhysicalChannel(LONG v) override { return PutProperty(m_lPhysicalChannel, v); }
  HRESULT get_PhysicalChannel(LONG* p) override { return GetProperty(p, m_lPhysicalChannel); }
  HRESULT put_MajorChannel(LONG v) override { return PutProperty(m_lMajorChannel, v); }
  HRESULT get_MajorChannel(LONG* p) override { return GetProperty(p, m_lMajorChannel); }
  HRESULT put_MinorChannel(LONG v) override { return PutProperty(m_lMinorChannel, v); }
  HRESULT get_MinorChannel(LONG* p) override { return GetProperty(p, m_lMinorChannel); }
  HRESULT put_SourceId(LONG v) override { return PutProperty(m_lSourceId, v); }
  HRESULT get_SourceId(LONG* p) override { return GetProperty(p, m_lSourceId); }
  HRESULT put_ChannelTsId(LONG v) override { return PutProperty(m_lChannelTsId, v); }
  HRESULT get_ChannelTsId(LONG* p) override { return GetProperty(p, m_lChannelTsId); }
  HRESULT put_ChannelFlags(LONG v) override { return PutProperty(m_lChannelFlags, v); }
  HRESULT get_ChannelFlags(LONG* p) override { return GetProperty(p, m_lChannelFlags); }
  HRESULT put_LnbPosition(LONG v) override { return PutProperty(m_lLnbPosition, v); }
  HRESULT get_LnbPosition(LONG* p) override { return GetProperty(p, m_lLnbPosition); }
  HRESULT get_PidInfoCount(LONG* p) override { return GetProperty(p, static_cast<LONG>(m_pids.size())); }
  HRESULT get_PidInfoByIndex(LONG lIndex, IKxPidInfo** ppPidInfo) override;
  HRESULT AddPidInfo(IKxPidInfo* pPidInfo) override;
  HRESULT IsEqual(IKxChannel* pOther) override;
  HRESULT Clone(IKxChannel** ppClone) override;
  HRESULT put_Property(BSTR bstrName, VARIANT value) override;
  HRESULT get_Property(BSTR bstrName, VARIANT* pValue) override;

  // IKxXmlSerialisation
  HRESULT SaveToXml(BSTR* pbstrXml) override;
  HRESULT LoadFromXml(BSTR bstrXml) override;

 private:
  // The 32-bit named property, or null for the string one and unknown names.
  LONG* NamedInteger(std::u16string_view name);
};
