#pragma once
// The programme guide a receiving graph hands over in the background, from
// its own thread, gathered into a LiveGuide.
#include <mutex>

#include "interfaces/IKxCallbackControl.h"
#include "live/LiveGuide.h"
#include "platform/com/ComObject.h"

class CBackgroundGuide : public IKxEpgEventsCallback {
 public:
  using InterfaceMap = ::InterfaceMap<IKxEpgEventsCallback>;
  explicit CBackgroundGuide(LiveGuide& guide) : m_guide(guide) {}
  virtual ~CBackgroundGuide() = default;

  HRESULT OnEpgEvents(BSTR deviceName, IKxEpgEvents* events) override;

 private:
  std::mutex m_mutex;
  LiveGuide& m_guide;
};
