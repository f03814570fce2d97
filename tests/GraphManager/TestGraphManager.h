#pragma once
// A graph manager whose build adds a test source and a sink, with the
// digital graph managers' callback rule and a scripted signal.
#include <future>
#include <mutex>
#include <optional>

#include "GraphManager/CallbackTypes.h"
#include "GraphManager/KxGraphManager.h"
#include "interfaces/KxFilterRole.h"
#include "GraphManager/TestSinkFilter.h"

// Tells when the graph manager is entirely gone: as a base listed before it,
// it is destroyed after it.
class DestructionNotice {
 public:
  virtual ~DestructionNotice() {
    if (m_gone) m_gone->set_value();
  }
  void NotifyWhenGone(std::promise<void>* gone) { m_gone = gone; }

 private:
  std::promise<void>* m_gone = nullptr;
};

class CTestGraphManager : public DestructionNotice, public CKxGraphManager {
 public:
  struct Signal {
    bool locked;
    LONG quality;
    LONG strength;
  };

  ~CTestGraphManager() override { DeleteGraph(); }

  bool IsCallbackTypeSupported(LONG type) override { return IsDigitalCallbackType(type); }

  // The next builds fail with `hr`.
  void FailBuildsWith(HRESULT hr) { m_buildResult = hr; }
  // The next build waits for `gate` before it adds its filters.
  void HoldBuildUntil(std::shared_future<void> gate) { m_gate = std::move(gate); }
  void SetSignal(Signal signal) {
    std::lock_guard lock(m_mutex);
    m_signal = signal;
  }
  const CGraphSettings& Settings() const { return m_Settings; }
  KxFilterGraph* Graph() const { return m_pGraphBuilder.Get(); }
  // The sink the next build puts into the graph.
  CTestSinkFilter& Sink() { return *m_sink; }

 protected:
  HRESULT BuildGraphInternal(LONG graphType, KxGraphBuild& build) override {
    if (m_gate.valid()) std::exchange(m_gate, {}).get();
    if (FAILED(m_buildResult)) return m_buildResult;
    auto source = ComObject<CTestSource>::Make();
    auto renderer = m_sink;
    HRESULT hr = build.graph->AddFilter(source.Get(), u"Test Source");
    if (SUCCEEDED(hr)) hr = build.graph->AddFilter(renderer.Get(), u"Test Renderer");
    if (SUCCEEDED(hr)) {
      const AM_MEDIA_TYPE type = TransportStreamMediaType();
      hr = build.graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(renderer.Get(), u"Input").Get(),
                                      &type);
    }
    build.filters[KxFLTVideoSource] = source;
    build.filters[KxFLTNetworkTuner] = source;
    build.filters[KxFLTTransportStreamSink] = renderer;
    return hr;
  }

  HRESULT GetSignalStatus(bool* locked, LONG* quality, LONG* strength) override {
    std::lock_guard lock(m_mutex);
    if (!m_signal) return E_POINTER;
    *locked = m_signal->locked;
    *quality = m_signal->quality;
    *strength = m_signal->strength;
    return S_OK;
  }

 private:
  HRESULT m_buildResult = S_OK;
  std::shared_future<void> m_gate;
  std::mutex m_mutex;
  std::optional<Signal> m_signal;
  ComPtr<ComObject<CTestSinkFilter>> m_sink = ComObject<CTestSinkFilter>::Make();
};
