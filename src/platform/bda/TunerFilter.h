#pragma once
// The tuner filter base: a source of the transport stream with the device
// topology of its delivery systems. A network provider connects to its input,
// sets the nodes (reached through GetControlNode) and commits the changes,
// which tunes; the output carries what the tuner receives.
#include <functional>
#include <mutex>
#include <vector>

#include "platform/bda/ControlInterfaces.h"
#include "platform/bda/DeliverySystem.h"
#include "platform/bda/Topology.h"
#include "platform/bda/TunerSettings.h"
#include "platform/graph/SourceFilter.h"

struct SignalStatus {
  LONG strength = 0;  // 0 to 100
  LONG quality = 0;   // 0 to 100
  bool present = false;
  bool locked = false;
};

class CBdaTunerFilter : public CSourceFilter, public CBdaTopology, public IBDA_DeviceControl {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IBDA_Topology, IBDA_DeviceControl>;
  CBdaTunerFilter(std::u16string name, const std::vector<DeliverySystem>& systems, size_t sampleCapacity);

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int index) override;

  HRESULT GetControlNode(ULONG inputPinType, ULONG outputPinType, ULONG nodeType, IUnknown** node) override;

  HRESULT StartChanges() override;
  HRESULT CheckChanges() override;
  HRESULT CommitChanges() override;
  HRESULT GetChangeState(ULONG* state) override;

  // For the control nodes: the settings of the changes in progress.
  TunerSettings PendingSettings() const;
  void ChangePending(const std::function<void(TunerSettings&)>& change);
  // The signal of what the tuner is tuned to.
  virtual SignalStatus Signal() = 0;
  // How long a frontend may take to lock after a tune (Linux scanners wait about as long).
  virtual ULONG LockTimeMs() const { return 1500; }

 protected:
  // Applies committed settings that name a frequency.
  virtual HRESULT Tune(const TunerSettings& settings) = 0;

 private:
  class InputPin : public CBaseInputPin {
   public:
    InputPin(CBaseFilter* filter, RecursiveLock* lock) : CBaseInputPin(filter, lock, u"Input0") {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override {
      return type->majortype == KSDATAFORMAT_TYPE_BDA_ANTENNA ? S_OK : S_FALSE;
    }
  };

  InputPin m_input;
  mutable std::mutex m_settingsMutex;
  TunerSettings m_pending;
  bool m_changing = false;
};
