#pragma once
// The host's side of a channel search: the tuner's callback, keeping every
// channel found with the frequency and signal of the step that found it.
#include <mutex>
#include <vector>

#include "channels/ChannelList.h"
#include "interfaces/IKxTuner.h"
#include "live/ScanProgress.h"
#include "platform/com/ComObject.h"
#include "platform/sync/Event.h"

struct FoundChannel {
  ComPtr<IKxChannel> channel;
  long frequencyKHz = 0;
  long quality = 0;
  long strength = 0;
};

class CScanListener : public IKxTunerCallback {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTunerCallback>;
  virtual ~CScanListener() = default;

  HRESULT OnChannelFound(BSTR monikerName, IUnknown* channel) override;
  HRESULT OnSignalStatistic(BSTR monikerName, LONG quality, LONG strength) override;
  HRESULT OnProgress(BSTR monikerName, LONG percent) override;
  HRESULT OnFinished(BSTR monikerName) override;
  HRESULT OnStatusText(BSTR monikerName, BSTR text) override;

  // Set on every report (auto-reset) and when the search has ended.
  Event& Changed() { return m_changed; }
  Event& Finished() { return m_finished; }
  ScanState State() const;
  // The steps done since the last call, each as it stood when it ended, so
  // that a step's line names its own frequency and signal.
  std::vector<ScanState> TakeSteps();
  std::vector<FoundChannel> Found() const;

 private:
  mutable std::mutex m_mutex;
  ScanState m_state;
  std::vector<ScanState> m_steps;
  std::vector<FoundChannel> m_found;
  Event m_changed{Event::Reset::Auto};
  Event m_finished;
};
