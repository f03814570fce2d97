#pragma once
// The built-in device plug-in: tunes every delivery system through the
// graph's network provider with the platform's tune requests, and switches a
// DiSEqC input through the tuner's frequency filter. It does no conditional
// access.
#include "common/KxTuningInfo.h"
#include "interfaces/IKxDevicePlugin.h"
#include "platform/bda/ControlInterfaces.h"
#include "platform/bda/TuningInterfaces.h"
#include "platform/com/ComObject.h"

// The service a DVB tune request asks for; -1 leaves an id unset.
struct DvbServiceIds {
  LONG nid = -1;
  LONG tid = -1;
  LONG sid = -1;
};

class CDefaultPlugin : public IKxDevicePlugin {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDevicePlugin>;
  static constexpr LONG kCapabilities =
      KxDPCapability_TuneDvbs | KxDPCapability_TuneDvbt | KxDPCapability_TuneDvbc | KxDPCapability_TuneAtsc;

  static HRESULT CreateInstance(IKxDevicePlugin** out);
  virtual ~CDefaultPlugin() = default;

  HRESULT Init(IKxDPSetup* setup) override;
  HRESULT Uninit() override;
  HRESULT get_Capabilities(LONG* caps) override;
  HRESULT get_Description(BSTR* text) override;
  HRESULT get_Manufacturer(BSTR* text) override;
  HRESULT get_Property(LONG id, VARIANT* value) override;
  HRESULT ExecuteCommand(LONG event, IKxDPCommand* command) override;

  // Position 0..3 as a tune command gives it; -1 (none) does nothing.
  HRESULT SwitchDiseqc(LONG position);
  HRESULT PutDvbsTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids);
  HRESULT PutDvbcTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids);
  HRESULT PutDvbtTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids);
  // `networkType` 0 is cable, 1 antenna.
  HRESULT PutAtscTuneRequest(const KxTuningInfo& info, LONG networkType, LONG major, LONG minor);

 private:
  // Finds the tuner, the frequency filter and the device control once.
  void InitPlugin();
  template <class Network>
  HRESULT PutDvbTuneRequest(const KxTuningInfo& info, const DvbServiceIds& ids);
  template <class Network>
  HRESULT CreateTuneRequest(const KxTuningInfo& info, ITuneRequest** request);
  void DropGraphInterfaces();

  ComPtr<IKxDPSetup> m_pSetup;
  ComPtr<ITuner> m_pTuner;
  ComPtr<IBDA_FrequencyFilter> m_pFrequencyFilter;
  ComPtr<IBDA_DeviceControl> m_pDeviceControl;
};
