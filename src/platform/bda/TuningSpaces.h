#pragma once
// Tuning spaces: DVB (cable, terrestrial), DVB-S with its LNB and ATSC
// (antenna and cable by input type). Each creates the tune requests of its kind.
#include "platform/bda/Locators.h"
#include "platform/bda/TuneRequests.h"

template <class Interface>
class CTuningSpaceBase : public Interface {
 public:
  CTuningSpaceBase(const CLSID& clsid, const GUID& networkType) : m_clsid(clsid), m_networkType(networkType) {}

  HRESULT get_UniqueName(BSTR* name) override { return m_uniqueName.CopyTo(name); }
  HRESULT put_UniqueName(BSTR name) override { return Assign(m_uniqueName, name); }
  HRESULT get_FriendlyName(BSTR* name) override { return m_friendlyName.CopyTo(name); }
  HRESULT put_FriendlyName(BSTR name) override { return Assign(m_friendlyName, name); }
  HRESULT get_CLSID(CLSID* clsid) override { return GetProperty(clsid, m_clsid); }
  HRESULT get__NetworkType(GUID* type) override { return GetProperty(type, m_networkType); }
  HRESULT put__NetworkType(REFCLSID type) override { return PutProperty(m_networkType, type); }
  HRESULT get_DefaultLocator(ILocator** locator) override {
    if (!locator) return E_POINTER;
    return m_defaultLocator.CopyTo(locator);
  }
  HRESULT put_DefaultLocator(ILocator* locator) override {
    m_defaultLocator = locator;
    return S_OK;
  }

 protected:
  virtual ~CTuningSpaceBase() = default;

  // A new request of type Request on this space, with a copy of nothing: the
  // caller sets the locator.
  template <class Request>
  HRESULT NewRequest(ITuneRequest** request) {
    if (!request) return E_POINTER;
    return ComObject<Request>::CreateAndQuery(request, static_cast<ITuningSpace*>(this));
  }

 private:
  static HRESULT Assign(BStr& target, BSTR value) {
    target = BStr(std::u16string_view(value ? value : u"", SysStringLen(value)));
    return value && !target.Get() ? E_OUTOFMEMORY : S_OK;
  }

  const CLSID m_clsid;
  GUID m_networkType;
  BStr m_uniqueName;
  BStr m_friendlyName;
  ComPtr<ILocator> m_defaultLocator;
};

template <class Interface>
class CDVBTuningSpaceBase : public CTuningSpaceBase<Interface> {
 public:
  using CTuningSpaceBase<Interface>::CTuningSpaceBase;
  HRESULT get_SystemType(DVBSystemType* type) override { return GetProperty(type, m_systemType); }
  HRESULT put_SystemType(DVBSystemType type) override { return PutProperty(m_systemType, type); }
  HRESULT get_NetworkID(LONG* id) override { return GetProperty(id, m_networkId); }
  HRESULT put_NetworkID(LONG id) override { return PutProperty(m_networkId, id); }
  HRESULT CreateTuneRequest(ITuneRequest** request) override {
    return this->template NewRequest<CDVBTuneRequest>(request);
  }

 private:
  DVBSystemType m_systemType = DVB_Terrestrial;
  LONG m_networkId = -1;
};

class CDVBTuningSpace : public CDVBTuningSpaceBase<IDVBTuningSpace2> {
 public:
  using InterfaceMap = ::InterfaceMap<IDVBTuningSpace2, InterfaceVia<IDVBTuningSpace, IDVBTuningSpace2>,
                                      InterfaceVia<ITuningSpace, IDVBTuningSpace2>>;
  CDVBTuningSpace() : CDVBTuningSpaceBase(CLSID_DVBTuningSpace, GUID_NULL) {}
};

class CDVBSTuningSpace : public CDVBTuningSpaceBase<IDVBSTuningSpace> {
 public:
  using InterfaceMap =
      ::InterfaceMap<IDVBSTuningSpace, InterfaceVia<IDVBTuningSpace2, IDVBSTuningSpace>,
                     InterfaceVia<IDVBTuningSpace, IDVBSTuningSpace>, InterfaceVia<ITuningSpace, IDVBSTuningSpace>>;
  CDVBSTuningSpace() : CDVBTuningSpaceBase(CLSID_DVBSTuningSpace, CLSID_DVBSNetworkProvider) {
    put_SystemType(DVB_Satellite);
  }

  HRESULT get_LowOscillator(LONG* khz) override { return GetProperty(khz, m_lowOscillator); }
  HRESULT put_LowOscillator(LONG khz) override { return PutProperty(m_lowOscillator, khz); }
  HRESULT get_HighOscillator(LONG* khz) override { return GetProperty(khz, m_highOscillator); }
  HRESULT put_HighOscillator(LONG khz) override { return PutProperty(m_highOscillator, khz); }
  HRESULT get_LNBSwitch(LONG* khz) override { return GetProperty(khz, m_lnbSwitch); }
  HRESULT put_LNBSwitch(LONG khz) override { return PutProperty(m_lnbSwitch, khz); }

 private:
  LONG m_lowOscillator = -1;
  LONG m_highOscillator = -1;
  LONG m_lnbSwitch = -1;
};

class CATSCTuningSpace : public CTuningSpaceBase<IATSCTuningSpace> {
 public:
  using InterfaceMap = ::InterfaceMap<IATSCTuningSpace, InterfaceVia<IAnalogTVTuningSpace, IATSCTuningSpace>,
                                      InterfaceVia<ITuningSpace, IATSCTuningSpace>>;
  CATSCTuningSpace() : CTuningSpaceBase(CLSID_ATSCTuningSpace, CLSID_ATSCNetworkProvider) {}

  HRESULT CreateTuneRequest(ITuneRequest** request) override { return NewRequest<CATSCChannelTuneRequest>(request); }
  HRESULT get_MinChannel(LONG* channel) override { return GetProperty(channel, m_minChannel); }
  HRESULT put_MinChannel(LONG channel) override { return PutProperty(m_minChannel, channel); }
  HRESULT get_MaxChannel(LONG* channel) override { return GetProperty(channel, m_maxChannel); }
  HRESULT put_MaxChannel(LONG channel) override { return PutProperty(m_maxChannel, channel); }
  HRESULT get_InputType(TunerInputType* type) override { return GetProperty(type, m_inputType); }
  HRESULT put_InputType(TunerInputType type) override { return PutProperty(m_inputType, type); }
  HRESULT get_CountryCode(LONG* code) override { return GetProperty(code, m_countryCode); }
  HRESULT put_CountryCode(LONG code) override { return PutProperty(m_countryCode, code); }
  HRESULT get_MinMinorChannel(LONG* channel) override { return GetProperty(channel, m_minMinorChannel); }
  HRESULT put_MinMinorChannel(LONG channel) override { return PutProperty(m_minMinorChannel, channel); }
  HRESULT get_MaxMinorChannel(LONG* channel) override { return GetProperty(channel, m_maxMinorChannel); }
  HRESULT put_MaxMinorChannel(LONG channel) override { return PutProperty(m_maxMinorChannel, channel); }
  HRESULT get_MinPhysicalChannel(LONG* channel) override { return GetProperty(channel, m_minPhysicalChannel); }
  HRESULT put_MinPhysicalChannel(LONG channel) override { return PutProperty(m_minPhysicalChannel, channel); }
  HRESULT get_MaxPhysicalChannel(LONG* channel) override { return GetProperty(channel, m_maxPhysicalChannel); }
  HRESULT put_MaxPhysicalChannel(LONG channel) override { return PutProperty(m_maxPhysicalChannel, channel); }

 private:
  LONG m_minChannel = 1;
  LONG m_maxChannel = 99;
  TunerInputType m_inputType = TunerInputAntenna;
  LONG m_countryCode = 0;
  LONG m_minMinorChannel = 0;
  LONG m_maxMinorChannel = 999;
  LONG m_minPhysicalChannel = 2;
  LONG m_maxPhysicalChannel = 69;
};
