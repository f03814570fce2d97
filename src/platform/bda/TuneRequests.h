#pragma once
// Tune requests: a tuning space, a locator and the ids of the service sought
// (every id -1 until set). A tuning space creates the kind it takes.
#include "platform/bda/TuningInterfaces.h"
#include "platform/com/ComObject.h"
#include "platform/com/Property.h"

template <class Interface>
class CTuneRequestBase : public Interface {
 public:
  explicit CTuneRequestBase(ITuningSpace* space) : m_space(space) {}

  HRESULT get_TuningSpace(ITuningSpace** space) override {
    if (!space) return E_POINTER;
    return m_space.CopyTo(space);
  }
  HRESULT get_Locator(ILocator** locator) override {
    if (!locator) return E_POINTER;
    return m_locator.CopyTo(locator);
  }
  HRESULT put_Locator(ILocator* locator) override {
    m_locator = locator;
    return S_OK;
  }

 protected:
  virtual ~CTuneRequestBase() = default;

 private:
  ComPtr<ITuningSpace> m_space;
  ComPtr<ILocator> m_locator;
};

class CDVBTuneRequest : public CTuneRequestBase<IDVBTuneRequest> {
 public:
  using InterfaceMap = ::InterfaceMap<IDVBTuneRequest, InterfaceVia<ITuneRequest, IDVBTuneRequest>>;
  using CTuneRequestBase::CTuneRequestBase;

  HRESULT get_ONID(LONG* onid) override { return GetProperty(onid, m_onid); }
  HRESULT put_ONID(LONG onid) override { return PutProperty(m_onid, onid); }
  HRESULT get_TSID(LONG* tsid) override { return GetProperty(tsid, m_tsid); }
  HRESULT put_TSID(LONG tsid) override { return PutProperty(m_tsid, tsid); }
  HRESULT get_SID(LONG* sid) override { return GetProperty(sid, m_sid); }
  HRESULT put_SID(LONG sid) override { return PutProperty(m_sid, sid); }

 private:
  LONG m_onid = -1;
  LONG m_tsid = -1;
  LONG m_sid = -1;
};

class CATSCChannelTuneRequest : public CTuneRequestBase<IATSCChannelTuneRequest> {
 public:
  using InterfaceMap =
      ::InterfaceMap<IATSCChannelTuneRequest, InterfaceVia<IChannelTuneRequest, IATSCChannelTuneRequest>,
                     InterfaceVia<ITuneRequest, IATSCChannelTuneRequest>>;
  using CTuneRequestBase::CTuneRequestBase;

  HRESULT get_Channel(LONG* channel) override { return GetProperty(channel, m_channel); }
  HRESULT put_Channel(LONG channel) override { return PutProperty(m_channel, channel); }
  HRESULT get_MinorChannel(LONG* channel) override { return GetProperty(channel, m_minorChannel); }
  HRESULT put_MinorChannel(LONG channel) override { return PutProperty(m_minorChannel, channel); }

 private:
  LONG m_channel = -1;
  LONG m_minorChannel = -1;
};
