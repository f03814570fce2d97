#pragma once
// The graph manager of satellite devices: the digital graph manager with the
// host's LNB list, the satellite tune command for device plug-ins, and a
// network provider tune that pauses a rendering graph around it.
#include <vector>

#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "interfaces/IKxLnbControl.h"

class CKxGraphManagerDvbs : public CKxGraphManagerDigitalBase, public IKxLnbControl {
 public:
  using InterfaceMap = ::InterfaceMap<
      IKxGraphManager, IKxCallbackControl, InterfaceVia<IKxGraphManagerSetup, IKxGraphManagerSetup3>,
      InterfaceVia<IKxGraphManagerSetup2, IKxGraphManagerSetup3>, IKxGraphManagerSetup3, IKxGraphManagerSetup3PCodec,
      IKxGraphManagerOutputSetup, IKxGraphManagerMacrovisionControl, IKxStreamInfo, IKxGraphManagerSignalControl,
      IKxGraphManagerConditionalAccess, IKxGraphManagerVideoWindowControl, IKxGraphManagerTimeoutControl,
      IKxGraphManagerStreamInfoControl, IKxGraphManagerChannelControl, IKxEpgManager, IKxGraphManagerExtraInfo,
      IKxGraphManagerAudioPropertyControl, IKxDevicePluginControl, IKxLnbControl>;

  CKxGraphManagerDvbs() = default;
  ~CKxGraphManagerDvbs() override { DeleteGraph(); }

  // IKxLnbControl
  HRESULT put_LnbControlValue(LONG lValue) override;
  HRESULT AddLnb(IKxLnb* pLnb) override;
  HRESULT get_LnbByIndex(LONG lIndex, IKxLnb** ppLnb) override;
  HRESULT get_LnbCount(LONG* plCount) override;
  HRESULT ReservedLnbOperation(LONG, LONG) override { return E_NOTIMPL; }
  HRESULT RemoveLnb(IKxLnb* pLnb) override;
  HRESULT RemoveLnbByIndex(LONG lIndex) override;

 protected:
  HRESULT PutTuneRequest(IKxChannel* channel) override;
  HRESULT ExecuteTuneRequestCommand(IKxChannel* channel) override;

 private:
  HRESULT FillTuneRequestParam(IKxChannel* channel, KxDPTuneRequestParam* param);

  std::vector<ComPtr<IKxLnb>> m_lnbs;
  LONG m_lLnbControlValue = 0;
};
