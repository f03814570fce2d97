#pragma once
// Pass-through filter in the transport stream path: while blocking, every
// sample still travels downstream, with its data length set to 0, so that
// timing and end-of-stream handling go on without tearing the graph down.
#include "platform/graph/TransInPlaceFilter.h"

struct ITsBlockerFilter : IUnknown {
  DTV_DECLARE_IID("{BCB9EF0B-F527-4BE2-8D48-B134E8C2BF3D}");
  virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;
};

constexpr CLSID CLSID_TsBlockerFilter = MakeGuid("{8754E20E-729A-4CAF-BB19-162F7A7B7974}");

class CTsBlockerFilter : public CTransInPlaceFilter, public ITsBlockerFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, ITsBlockerFilter>;
  CTsBlockerFilter() : CTransInPlaceFilter(u"TS BlockerFilter", CLSID_TsBlockerFilter) {}

  static HRESULT CreateFilter(IBaseFilter** filter);

  HRESULT put_Enabled(VARIANT_BOOL enabled) override;
  HRESULT Transform(IMediaSample* sample) override;
  virtual ~CTsBlockerFilter() = default;

 private:
  RecursiveLock m_blockLock;
  LONG m_blocking = 0;
};
