#pragma once
// Tuners of capture devices on virtual tuners, and the host's tuner callback
// as a recorder of what it hears, in order.
#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "Devices/DeviceLocks.h"
#include "Devices/KxSystemConfiguration.h"
#include "GraphManager/GraphManagerTestSupport.h"
#include "Tuner/KxTuningData.h"
#include "hwconfig/HWConfig.h"
#include "interfaces/IKxChannel.h"
#include "interfaces/IKxTuner.h"
#include "platform/com/ComObject.h"
#include "platform/com/Utf.h"
#include "support/ClockDriving.h"
#include "support/DeviceTestEnvironment.h"

class CTunerRecorder : public IKxTunerCallback {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTunerCallback>;
  virtual ~CTunerRecorder() = default;

  HRESULT OnChannelFound(BSTR monikerName, IUnknown* channel) override {
    auto found = QueryAs<IKxChannel>(channel);
    Add("found", monikerName, [&] { m_channels.push_back(found); });
    return S_OK;
  }
  HRESULT OnSignalStatistic(BSTR monikerName, LONG quality, LONG strength) override {
    Add("signal", monikerName, [&] { m_signals.push_back({quality, strength}); });
    return S_OK;
  }
  HRESULT OnProgress(BSTR monikerName, LONG percent) override {
    Add("progress", monikerName, [&] { m_progress.push_back(percent); });
    if (m_onProgress) m_onProgress();
    return S_OK;
  }
  // Runs on the tuner's worker after each progress report; set before the search starts.
  void OnEachProgress(std::function<void()> action) { m_onProgress = std::move(action); }
  HRESULT OnFinished(BSTR monikerName) override {
    Add("finished", monikerName, [&] { m_finished = true; });
    return S_OK;
  }
  HRESULT OnStatusText(BSTR monikerName, BSTR text) override {
    const std::string status = Utf16ToUtf8(std::u16string_view(text, SysStringLen(text)));
    Add("status", monikerName, [&] { m_statuses.push_back(status); });
    return S_OK;
  }

  template <class Get>
  auto Read(Get get) const -> decltype(get()) {
    std::lock_guard lock(m_mutex);
    return get();
  }

  bool Finished() const { return Read([&] { return m_finished; }); }
  std::vector<std::string> Calls() const { return Read([&] { return m_calls; }); }
  std::vector<std::string> Devices() const { return Read([&] { return m_devices; }); }
  std::vector<ComPtr<IKxChannel>> Channels() const { return Read([&] { return m_channels; }); }
  std::vector<LONG> Progress() const { return Read([&] { return m_progress; }); }
  std::vector<std::string> Statuses() const { return Read([&] { return m_statuses; }); }
  std::vector<std::pair<LONG, LONG>> Signals() const { return Read([&] { return m_signals; }); }

 private:
  template <class Change>
  void Add(const char* call, BSTR monikerName, Change change) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(call);
    m_devices.push_back(Utf16ToUtf8(std::u16string_view(monikerName, SysStringLen(monikerName))));
    change();
  }

  mutable std::mutex m_mutex;
  std::vector<std::string> m_calls;
  std::vector<std::string> m_devices;
  std::vector<ComPtr<IKxChannel>> m_channels;
  std::vector<std::pair<LONG, LONG>> m_signals;
  std::vector<LONG> m_progress;
  std::vector<std::string> m_statuses;
  bool m_finished = false;
  std::function<void()> m_onProgress;
};

class TunerTest : public ::testing::Test {
 protected:
  // A tuner of the one virtual tuner that `tunerXml` (a <tuner id="t" ...> element) describes.
  ComPtr<IKxTuner> NewTuner(const std::string& tunerXml) {
    const std::string description = m_env.dir.Write("tuners.xml", "<virtualTuners>" + tunerXml + "</virtualTuners>");
    m_moniker = Utf8ToUtf16("virtualdvb:" + description + "#t");
    ComPtr<IKxHWConfig> hw;
    EXPECT_EQ(CreateHWConfig({m_env.dir / "dev", m_env.dir / "sys", {description}, false},
                             hw.Put()),
              S_OK);
    ComPtr<IUnknown> object;
    EXPECT_EQ(CreateSystemConfigurationObject(hw.Get(), object.Put()), S_OK);
    const auto configuration = QueryAs<IKxSystemConfiguration>(object.Get());
    ComPtr<IKxCaptureDevice> device;
    const BStr moniker(m_moniker);
    EXPECT_EQ(configuration->GetDeviceByMonikerName(moniker.Get(), device.Put()), S_OK);
    if (!device) return {};
    ComPtr<IUnknown> tuner;
    EXPECT_EQ(device->CreateTuner(tuner.Put()), S_OK);
    return QueryAs<IKxTuner>(tuner.Get());
  }

  static ComPtr<IKxTuningData> TuningData(const char16_t* type, const std::string& xml) {
    auto data = ComObject<CKxTuningData>::Make();
    const BStr bstrType(type), bstrXml(Utf8ToUtf16(xml));
    EXPECT_EQ(data->InitializeByString(bstrType.Get(), bstrXml.Get()), S_OK);
    return ComPtr<IKxTuningData>(data.Get());
  }

  static void SetProperty(IKxTuner* tuner, LONG key, int32_t value) {
    Variant v(value);
    EXPECT_EQ(tuner->put_Property(key, v), S_OK);
  }

  // Advances the clock in steps, each seen by every worker before the next,
  // until `done`; false when a worker stayed busy elsewhere.
  bool DriveUntil(const std::function<bool()>& done, uint32_t stepMs = 10) {
    while (!done()) {
      m_clock->Advance(stepMs);
      if (!m_clock->WaitUntilIdle()) return done();
    }
    return true;
  }

  // Starts the search and drives the clock until the worker has finished.
  bool ScanToEnd(IKxTuner* tuner, CTunerRecorder* recorder) {
    if (tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(recorder)) != S_OK) return false;
    return DriveUntil([&] { return recorder->Finished(); });
  }

  std::string DemoFile(int mux) const { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

  ScopedManualClock m_clock;
  TestLog m_log;
  DeviceTestEnvironment m_env;
  std::u16string m_moniker;
};

inline LONG Long(IKxChannel* channel, HRESULT (IKxChannel::*get)(LONG*)) {
  LONG value = -12345;
  EXPECT_EQ((channel->*get)(&value), S_OK);
  return value;
}

inline std::string Title(IKxChannel* channel) {
  BStr title;
  EXPECT_EQ(channel->get_Title(title.Put()), S_OK);
  return title.Utf8();
}

inline Variant Property(IKxChannel* channel, const char16_t* name) {
  Variant value;
  EXPECT_EQ(channel->get_Property(BStr(name).Get(), &value), S_OK) << Utf16ToUtf8(name);
  return value;
}
