#pragma once
// The host's programme guide events.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

struct IKxEpgEvent : IUnknown {
  DTV_DECLARE_IID("{DB17C727-E9E5-46A8-9752-E1AF53AD053B}");
  virtual HRESULT get_EventId(LONG* plValue) = 0;
  virtual HRESULT put_EventId(LONG lValue) = 0;
  virtual HRESULT get_TransportStreamId(LONG* plValue) = 0;
  virtual HRESULT put_TransportStreamId(LONG lValue) = 0;
  virtual HRESULT get_ServiceId(LONG* plValue) = 0;
  virtual HRESULT put_ServiceId(LONG lValue) = 0;
  virtual HRESULT get_NetworkId(LONG* plValue) = 0;
  virtual HRESULT put_NetworkId(LONG lValue) = 0;
  virtual HRESULT get_SourceId(LONG* plValue) = 0;
  virtual HRESULT put_SourceId(LONG lValue) = 0;
  virtual HRESULT get_EventName(BSTR* pbstrValue) = 0;
  virtual HRESULT put_EventName(BSTR bstrValue) = 0;
  virtual HRESULT get_Text(BSTR* pbstrValue) = 0;
  virtual HRESULT put_Text(BSTR bstrValue) = 0;
  virtual HRESULT get_ExtendedItem(BSTR* pbstrValue) = 0;
  virtual HRESULT put_ExtendedItem(BSTR bstrValue) = 0;
  virtual HRESULT get_ExtendedItemDescription(BSTR* pbstrValue) = 0;
  virtual HRESULT put_ExtendedItemDescription(BSTR bstrValue) = 0;
  virtual HRESULT get_StartTime(DATE* pdtValue) = 0;
  virtual HRESULT put_StartTime(DATE dtValue) = 0;
  virtual HRESULT get_EndTime(DATE* pdtValue) = 0;
  virtual HRESULT put_EndTime(DATE dtValue) = 0;

 protected:
  ~IKxEpgEvent() = default;
};

struct IKxEpgEvents : IUnknown {
  DTV_DECLARE_IID("{D7C495D0-6811-498A-B099-A618BBD8E695}");
  virtual HRESULT get_Count(LONG* plCount) = 0;
  virtual HRESULT get_Item(LONG lIndex, IKxEpgEvent** ppItem) = 0;

 protected:
  ~IKxEpgEvents() = default;
};
