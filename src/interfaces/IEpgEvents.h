#pragma once
// EPG event snapshots handed out by the PSI renderer.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

struct IEpgEvent : IUnknown {
  DTV_DECLARE_IID("{386DC062-5F2D-4BB0-AFA0-C86DA21EFE88}");
  virtual HRESULT get_EventId(LONG* value) = 0;
  virtual HRESULT get_TransportStreamId(LONG* value) = 0;
  virtual HRESULT get_ServiceId(LONG* value) = 0;
  virtual HRESULT get_NetworkId(LONG* value) = 0;
  virtual HRESULT get_SourceId(LONG* value) = 0;
  virtual HRESULT get_EventName(BSTR* value) = 0;
  virtual HRESULT get_Text(BSTR* value) = 0;
  virtual HRESULT get_ExtendedItem(BSTR* value) = 0;
  virtual HRESULT get_ExtendedItemDescription(BSTR* value) = 0;
  virtual HRESULT get_StartTime(DATE* value) = 0;
  virtual HRESULT get_EndTime(DATE* value) = 0;
};

struct IEpgEvents : IUnknown {
  DTV_DECLARE_IID("{B36AB5EA-03F2-4732-A616-6C7FCA31BA70}");
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT get_Item(LONG index, IEpgEvent** item) = 0;
};
