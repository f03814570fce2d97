#pragma once
// The network provider filter: takes tune requests through ITuner and tunes
// the tuner filter connected to its output by setting that filter's nodes.
// A legacy provider (class id of one network type) takes the requests of its
// network only; the generic one takes those of every network.
#include <optional>

#include "platform/bda/TuningInterfaces.h"
#include "platform/graph/BaseFilter.h"

enum class NetworkKind { DvbT, DvbC, DvbS, AtscAntenna, AtscCable };

// The network a tune request is for; nothing when its tuning space is unknown.
std::optional<NetworkKind> NetworkKindOf(ITuneRequest* request);

class CNetworkProvider : public CBaseFilter, public IScanningTuner {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IScanningTuner, InterfaceVia<ITuner, IScanningTuner>>;
  // `clsid` is one of the CLSID_*NetworkProvider values.
  explicit CNetworkProvider(const CLSID& clsid);
  virtual ~CNetworkProvider() = default;

  // Creates the provider of a class id; E_INVALIDARG for other ids.
  static HRESULT Create(const CLSID& clsid, IBaseFilter** filter);

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_output : nullptr; }

  HRESULT get_TuningSpace(ITuningSpace** space) override;
  HRESULT put_TuningSpace(ITuningSpace* space) override;
  HRESULT get_TuneRequest(ITuneRequest** request) override;
  HRESULT put_TuneRequest(ITuneRequest* request) override;
  HRESULT Validate(ITuneRequest* request) override;
  HRESULT get_SignalStrength(LONG* strength) override;

 private:
  class OutputPin : public CBaseOutputPin {
   public:
    OutputPin(CBaseFilter* filter, RecursiveLock* lock) : CBaseOutputPin(filter, lock, u"Antenna Out") {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() override;
  };

  // The tuner filter on the output, with a reference.
  ComPtr<IBaseFilter> ConnectedTuner();
  HRESULT TuneConnectedTuner(ITuneRequest* request, NetworkKind kind);

  OutputPin m_output;
  std::mutex m_requestMutex;
  ComPtr<ITuningSpace> m_space;
  ComPtr<ITuneRequest> m_request;
};
