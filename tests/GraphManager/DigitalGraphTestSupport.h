#pragma once
// The digital graph manager on a virtual tuner: a test description of one
// DVB-T tuner whose multiplexes play given files, the host-side recorders of
// programme guide and transport stream callbacks, and the events of a guide.
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "Devices/DeviceLocks.h"
#include "GraphManager/GraphManagerTestSupport.h"
#include "GraphManager/KxGraphManagerDigital.h"
#include "interfaces/IKxTransportStreamSink.h"
#include "platform/com/Date.h"
#include "support/ClockDriving.h"
#include "support/DeviceTestEnvironment.h"
#include "support/TuneRequests.h"
#include "DSH/DSH.h"
#include "platform/virtualdvb/VirtualTunerFilter.h"

class CTestDigitalGraphManager : public CKxGraphManagerDigital {
 public:
  KxFilterGraph* Graph() const { return m_pGraphBuilder.Get(); }
  // Channel control's part: the service whose scrambling is watched.
  void SetCurrentService(LONG serviceId) {
    AutoLock lock(m_graphLock);
    m_nCurrentServiceId = serviceId;
  }
};

// One programme guide event as the host sees it.
struct GuideEvent {
  LONG eventId, serviceId, transportStreamId, networkId;
  std::string name;
  DATE start, end;
  auto Key() const { return std::tie(eventId, serviceId, transportStreamId, networkId); }
  bool operator<(const GuideEvent& other) const { return Key() < other.Key(); }
  bool operator==(const GuideEvent& other) const {
    // Dates are compared to the second.
    return Key() == other.Key() && name == other.name && std::abs(start - other.start) * 86400 < 0.5 &&
           std::abs(end - other.end) * 86400 < 0.5;
  }
};

inline std::ostream& operator<<(std::ostream& out, const GuideEvent& e) {
  return out << "event " << e.eventId << " of service " << e.serviceId << " \"" << e.name << "\"";
}

inline std::set<GuideEvent> GuideEventsOf(IKxEpgEvents* events) {
  std::set<GuideEvent> result;
  LONG count = 0;
  EXPECT_EQ(events->get_Count(&count), S_OK);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxEpgEvent> event;
    EXPECT_EQ(events->get_Item(i, event.Put()), S_OK);
    GuideEvent e{};
    BStr name;
    event->get_EventId(&e.eventId);
    event->get_ServiceId(&e.serviceId);
    event->get_TransportStreamId(&e.transportStreamId);
    event->get_NetworkId(&e.networkId);
    event->get_EventName(name.Put());
    event->get_StartTime(&e.start);
    event->get_EndTime(&e.end);
    e.name = name.Utf8();
    result.insert(e);
  }
  return result;
}

// Collects the events of callback type 6, newest version of each event.
class CEpgRecorder : public IKxEpgEventsCallback {
 public:
  using InterfaceMap = ::InterfaceMap<IKxEpgEventsCallback>;
  virtual ~CEpgRecorder() = default;
  HRESULT OnEpgEvents(BSTR device, IKxEpgEvents* events) override {
    const std::set<GuideEvent> batch = GuideEventsOf(events);
    std::lock_guard lock(m_mutex);
    m_device = Utf16ToUtf8(device);
    for (const GuideEvent& e : batch) {
      m_events.erase(e);
      m_events.insert(e);
    }
    return S_OK;
  }
  std::set<GuideEvent> Events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
  }
  std::string Device() const {
    std::lock_guard lock(m_mutex);
    return m_device;
  }

 private:
  mutable std::mutex m_mutex;
  std::set<GuideEvent> m_events;
  std::string m_device;
};

// Keeps the bytes the transport stream sink hands over.
class CStreamRecorder : public ITransportStreamSinkCallback {
 public:
  using InterfaceMap = ::InterfaceMap<ITransportStreamSinkCallback>;
  virtual ~CStreamRecorder() = default;
  HRESULT OnData(const uint8_t* data, LONG size) override {
    {
      std::unique_lock lock(m_mutex);
      if (m_holdLimit) {
        m_waiting = true;
        m_arrived.notify_all();
        m_arrived.wait_for(lock, *m_holdLimit, [&] { return !m_holdLimit; });
        m_waiting = false;
        m_holdLimit.reset();
      }
      m_bytes.append(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
    }
    m_arrived.notify_all();
    return S_OK;
  }
  // A host that falls behind: the next OnData waits until CatchUp, or for
  // `limit` of real time at most.
  void Hold(std::chrono::milliseconds limit) {
    std::lock_guard lock(m_mutex);
    m_holdLimit = limit;
  }
  void CatchUp() {
    {
      std::lock_guard lock(m_mutex);
      m_holdLimit.reset();
    }
    m_arrived.notify_all();
  }
  // An OnData waits for CatchUp.
  bool Waiting() const {
    std::lock_guard lock(m_mutex);
    return m_waiting;
  }
  HRESULT OnStopDeliver() override { return S_OK; }
  HRESULT OnStartDeliver() override { return S_OK; }
  std::string Bytes() const {
    std::lock_guard lock(m_mutex);
    return m_bytes;
  }
  size_t Size() const {
    std::lock_guard lock(m_mutex);
    return m_bytes.size();
  }
  // Waits for at least `size` bytes; false when they did not come in `limit`.
  bool WaitForSize(size_t size, std::chrono::milliseconds limit) const {
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, limit, [&] { return m_bytes.size() >= size; });
  }

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_arrived;
  std::string m_bytes;
  std::optional<std::chrono::milliseconds> m_holdLimit;
  bool m_waiting = false;
};

// An output target as put_OutputTarget takes it.
inline VARIANT UnknownVariant(IUnknown* object) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = object;
  return v;
}

class DigitalGraphTest : public ::testing::Test {
 protected:
  struct Multiplex {
    LONG frequencyKHz;
    std::string file;
    std::string attributes;  // strength, quality
  };

  // A manager for a DVB-T tuner receiving `multiplexes`.
  ComPtr<ComObject<CTestDigitalGraphManager>> NewManager(const std::vector<Multiplex>& multiplexes,
                                                         bool observe = true) {
    std::string text = R"(<virtualTuners><tuner id="t" system="DVB-T">)";
    for (const Multiplex& m : multiplexes)
      text += "<multiplex frequency=\"" + std::to_string(m.frequencyKHz) + "\" file=\"" + m.file + "\" " +
              m.attributes + "/>";
    text += "</tuner></virtualTuners>";
    m_moniker = Utf8ToUtf16("virtualdvb:" + m_env.dir.Write("tuners.xml", text) + "#t");
    m_device = ComObject<CFakeCaptureDevice>::Make(m_moniker);
    auto manager = ComObject<CTestDigitalGraphManager>::Make();
    EXPECT_EQ(manager->Initialize(m_device.Get(), observe), S_OK);
    return manager;
  }

  static HRESULT Tune(CTestDigitalGraphManager* manager, LONG frequencyKHz) {
    ComPtr<IUnknown> tuner;
    const HRESULT hr = manager->get_ExtraInfo(KxExtraInfoType_ScanningTuner, tuner.Put());
    if (FAILED(hr)) return hr;
    return QueryAs<ITuner>(tuner.Get())->put_TuneRequest(tune::Dvbt(frequencyKHz, 8).Get());
  }

  static ComPtr<IMpeg2PsiReader> PsiReader(CTestDigitalGraphManager* manager) {
    ComPtr<IUnknown> filter;
    EXPECT_EQ(manager->get_ExtraInfo(KxExtraInfoType_PsiReaderFilter, filter.Put()), S_OK);
    return QueryAs<IMpeg2PsiReader>(filter.Get());
  }

  bool DriveUntil(const std::function<bool()>& done, uint32_t stepMs = 10) {
    return AdvanceUntil(*m_clock, stepMs, done);
  }
  // Each step seen by every worker first: for rules that count quiet time.
  bool DriveSettledUntil(const std::function<bool()>& done, uint32_t stepMs = 10) {
    return AdvanceUntil(*m_clock, stepMs, done, true);
  }

  DeviceLocks::Usage Usage() const { return DeviceLocks::Query(m_moniker); }
  std::string DemoFile(int mux) const { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

  ScopedManualClock m_clock;
  TestLog m_log;
  DeviceTestEnvironment m_env;
  std::u16string m_moniker;
  ComPtr<ComObject<CFakeCaptureDevice>> m_device;
};
