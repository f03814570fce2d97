#pragma once
// The host's channel record and its XML form.
#include "interfaces/IKxPidInfo.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

enum KxChannelType : LONG {
  KxChannelType_AtscRadio = 3,
  KxChannelType_AtscTv = 4,
  KxChannelType_DvbtRadio = 5,
  KxChannelType_DvbtTv = 6,
  KxChannelType_DvbsRadio = 7,
  KxChannelType_DvbsTv = 8,
  KxChannelType_DvbcRadio = 9,
  KxChannelType_DvbcTv = 10,
};

struct IKxChannel : IUnknown {
  DTV_DECLARE_IID("{8211AFE1-8A58-4C9F-91E6-17A5D390D786}");
  virtual HRESULT put_Type(LONG lType) = 0;
  virtual HRESULT get_Type(LONG* plType) = 0;
  virtual HRESULT get_IsRadio(VARIANT_BOOL* pbRadio) = 0;
  virtual HRESULT get_IsTv(VARIANT_BOOL* pbTv) = 0;
  virtual HRESULT put_ProgramNumber(LONG lValue) = 0;
  virtual HRESULT get_ProgramNumber(LONG* plValue) = 0;
  virtual HRESULT put_TunerMode(LONG lValue) = 0;
  virtual HRESULT get_TunerMode(LONG* plValue) = 0;
  virtual HRESULT put_Title(BSTR bstrValue) = 0;
  virtual HRESULT get_Title(BSTR* pbstrValue) = 0;
  virtual HRESULT put_CountryCode(LONG lValue) = 0;
  virtual HRESULT get_CountryCode(LONG* plValue) = 0;
  virtual HRESULT put_InputSource(LONG lValue) = 0;
  virtual HRESULT get_InputSource(LONG* plValue) = 0;
  virtual HRESULT put_AnalogInputType(LONG lValue) = 0;
  virtual HRESULT get_AnalogInputType(LONG* plValue) = 0;
  virtual HRESULT put_Visible(VARIANT_BOOL bValue) = 0;
  virtual HRESULT get_Visible(VARIANT_BOOL* pbValue) = 0;
  virtual HRESULT put_Scrambled(VARIANT_BOOL bValue) = 0;
  virtual HRESULT get_Scrambled(VARIANT_BOOL* pbValue) = 0;
  virtual HRESULT put_VideoDevice(BSTR bstrValue) = 0;
  virtual HRESULT get_VideoDevice(BSTR* pbstrValue) = 0;
  virtual HRESULT put_AudioDevice(BSTR bstrValue) = 0;
  virtual HRESULT get_AudioDevice(BSTR* pbstrValue) = 0;
  virtual HRESULT put_CarrierFrequency(LONG lValue) = 0;
  virtual HRESULT get_CarrierFrequency(LONG* plValue) = 0;
  virtual HRESULT put_Satellite(BSTR bstrValue) = 0;
  virtual HRESULT get_Satellite(BSTR* pbstrValue) = 0;
  virtual HRESULT put_Bandwidth(LONG lValue) = 0;
  virtual HRESULT get_Bandwidth(LONG* plValue) = 0;
  virtual HRESULT put_NetworkId(LONG lValue) = 0;
  virtual HRESULT get_NetworkId(LONG* plValue) = 0;
  virtual HRESULT put_ServiceId(LONG lValue) = 0;
  virtual HRESULT get_ServiceId(LONG* plValue) = 0;
  virtual HRESULT put_TransportStreamId(LONG lValue) = 0;
  virtual HRESULT get_TransportStreamId(LONG* plValue) = 0;
  virtual HRESULT put_Modulation(LONG lValue) = 0;
  virtual HRESULT get_Modulation(LONG* plValue) = 0;
  virtual HRESULT put_SymbolRate(LONG lValue) = 0;
  virtual HRESULT get_SymbolRate(LONG* plValue) = 0;
  virtual HRESULT put_SignalPolarisation(LONG lValue) = 0;
  virtual HRESULT get_SignalPolarisation(LONG* plValue) = 0;
  virtual HRESULT put_ServiceType(LONG lValue) = 0;
  virtual HRESULT get_ServiceType(LONG* plValue) = 0;
  virtual HRESULT put_ServiceProviderName(BSTR bstrValue) = 0;
  virtual HRESULT get_ServiceProvider(BSTR* pbstrValue) = 0;
  virtual HRESULT put_PhysicalChannel(LONG lValue) = 0;
  virtual HRESULT get_PhysicalChannel(LONG* plValue) = 0;
  virtual HRESULT put_MajorChannel(LONG lValue) = 0;
  virtual HRESULT get_MajorChannel(LONG* plValue) = 0;
  virtual HRESULT put_MinorChannel(LONG lValue) = 0;
  virtual HRESULT get_MinorChannel(LONG* plValue) = 0;
  virtual HRESULT put_SourceId(LONG lValue) = 0;
  virtual HRESULT get_SourceId(LONG* plValue) = 0;
  virtual HRESULT put_ChannelTsId(LONG lValue) = 0;
  virtual HRESULT get_ChannelTsId(LONG* plValue) = 0;
  virtual HRESULT put_ChannelFlags(LONG lValue) = 0;
  virtual HRESULT get_ChannelFlags(LONG* plValue) = 0;
  virtual HRESULT put_LnbPosition(LONG lValue) = 0;
  virtual HRESULT get_LnbPosition(LONG* plValue) = 0;
  virtual HRESULT get_PidInfoCount(LONG* plCount) = 0;
  virtual HRESULT get_PidInfoByIndex(LONG lIndex, IKxPidInfo** ppPidInfo) = 0;
  virtual HRESULT AddPidInfo(IKxPidInfo* pPidInfo) = 0;
  virtual HRESULT IsEqual(IKxChannel* pOther) = 0;
  virtual HRESULT Clone(IKxChannel** ppClone) = 0;
  virtual HRESULT put_Property(BSTR bstrName, VARIANT value) = 0;
  virtual HRESULT get_Property(BSTR bstrName, VARIANT* pValue) = 0;

 protected:
  ~IKxChannel() = default;
};

// The same table under its second identifier.
struct IKxChannelEx : IKxChannel {
  DTV_DECLARE_IID("{383BBE14-42A7-4041-A191-C6858099F972}");

 protected:
  ~IKxChannelEx() = default;
};

struct IKxXmlSerialisation : IUnknown {
  DTV_DECLARE_IID("{D2150E05-A507-400E-B91C-5B7E95E904DF}");
  virtual HRESULT SaveToXml(BSTR* pbstrXml) = 0;
  virtual HRESULT LoadFromXml(BSTR bstrXml) = 0;

 protected:
  ~IKxXmlSerialisation() = default;
};
