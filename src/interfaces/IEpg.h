#pragma once
// Event snapshots handed out by the PSI renderer's programme guide scan.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

struct IEpgEvent : IUnknown {
  DTV_DECLARE_IID("{386DC062-5F2D-4BB0-AFA0-C86DA21EFE88}");
  virtual HRESULT get_EventId(LONG* plValue) = 0;
  virtual HRESULT get_TransportStreamId(LONG* plValue) = 0;
  virtual HRESULT get_ServiceId(LONG* plValue) = 0;
  virtual HRESULT get_NetworkId(LONG* plValue) = 0;
  virtual HRESULT get_SourceId(LONG* plValue) = 0;
  virtual HRESULT get_EventName(BSTR* pbstrName) = 0;
  virtual HRESULT get_Text(BSTR* pbstrText) = 0;
  virtual HRESULT get_ExtendedItem(BSTR* pbstrVal) = 0;
  virtual HRESULT get_ExtendedItemDescription(BSTR* pbstrVal) = 0;
  virtual HRESULT get_StartTime(DATE* pdtValue) = 0;
  virtual HRESULT get_EndTime(DATE* pdtValue) = 0;

 protected:
  ~IEpgEvent() = default;
};

struct IEpgEvents : IUnknown {
  DTV_DECLARE_IID("{B36AB5EA-03F2-4732-A616-6C7FCA31BA70}");
  virtual HRESULT get_Count(LONG* plCount) = 0;
  virtual HRESULT get_Item(LONG lIndex, IEpgEvent** ppItem) = 0;

 protected:
  ~IEpgEvents() = default;
};
