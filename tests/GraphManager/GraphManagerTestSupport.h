#pragma once
// Fakes and helpers for the graph manager tests: a capture device, a host
// callback that records what it hears, a log read back from its file, and a
// manual clock driven until a worker has done something.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "interfaces/IKxCallbackControl.h"
#include "interfaces/IKxCaptureDevice.h"
#include "logging/LogFile.h"
#include "platform/com/ComObject.h"
#include "platform/com/Utf.h"
#include "platform/sync/Clock.h"
#include "support/TempSettingsRoot.h"

class CFakeCaptureDevice : public IKxCaptureDevice, public IKxDeviceExtraInfo {
 public:
  using InterfaceMap = ::InterfaceMap<IKxCaptureDevice, IKxDeviceExtraInfo>;
  explicit CFakeCaptureDevice(std::u16string moniker, LONG type = KxCaptureDeviceType_Dvbt)
      : m_moniker(std::move(moniker)), m_type(type) {}
  virtual ~CFakeCaptureDevice() = default;

  HRESULT get_MonikerName(BSTR* name) override { return Copy(m_moniker, name); }
  HRESULT get_FriendlyName(BSTR* name) override { return Copy(u"Fake Tuner", name); }
  HRESULT get_Manufacturer(BSTR* name) override { return Copy(u"Acme", name); }
  HRESULT get_DeviceType(LONG* type) override {
    *type = m_type;
    return S_OK;
  }
  // Extra information 8: the device takes a tune request only the second time.
  HRESULT GetExtraInfo(LONG id, VARIANT* value) override {
    if (id != KxDeviceExtraInfo_SpecialUsbDevice) return E_FAIL;
    value->vt = VT_I4;
    value->lVal = m_secondTuneRequest ? 1 : 0;
    return S_OK;
  }
  bool m_secondTuneRequest = false;
  HRESULT GetUsage(VARIANT_BOOL*, LONG*, VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT get_Property(LONG, VARIANT*) override { return E_NOTIMPL; }
  HRESULT CreateGraphManager(IUnknown**) override { return E_NOTIMPL; }
  HRESULT CreateTuner(IUnknown**) override { return E_NOTIMPL; }

 private:
  static HRESULT Copy(std::u16string_view text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return S_OK;
  }
  std::u16string m_moniker;
  LONG m_type;
};

// Records the signal, scrambling and graph event notifications it gets; may
// act on the first signal notification (from the notifying thread).
class CRecordingCallback : public IKxSignalCallback,
                           public IKxScrambledCallback,
                           public IKxFilterGraphEventCallback,
                           public IKxAudioSampleCallback {
 public:
  using InterfaceMap =
      ::InterfaceMap<IKxSignalCallback, IKxScrambledCallback, IKxFilterGraphEventCallback, IKxAudioSampleCallback>;
  struct Signal {
    std::string device;
    bool locked;
    LONG quality;
    LONG strength;
    bool operator==(const Signal&) const = default;
  };
  virtual ~CRecordingCallback() = default;

  HRESULT OnSignalUpdate(BSTR device, VARIANT_BOOL locked, LONG quality, LONG strength) override {
    std::function<void()> action;
    {
      std::lock_guard lock(m_mutex);
      m_signals.push_back({Utf16ToUtf8(device), locked == VARIANT_TRUE, quality, strength});
      action = std::exchange(m_onSignal, nullptr);
    }
    if (action) action();
    return S_OK;
  }
  HRESULT OnScrambledUpdate(BSTR, VARIANT_BOOL scrambled) override {
    std::lock_guard lock(m_mutex);
    m_scrambled.push_back(scrambled == VARIANT_TRUE);
    return S_OK;
  }
  HRESULT OnFilterGraphEvent(BSTR, LONG code, intptr_t, intptr_t, LONG, LONG) override {
    std::lock_guard lock(m_mutex);
    m_events.push_back(code);
    return S_OK;
  }

  HRESULT OnAudioSample(BSTR, const uint8_t* data, LONG size, const WAVEFORMATEX* format, LONG formatSize) override {
    std::lock_guard lock(m_mutex);
    m_audio.emplace_back(data, data + size);
    m_audioFormatSize = formatSize;
    m_audioChannels = format->nChannels;
    return S_OK;
  }

  void OnFirstSignal(std::function<void()> action) {
    std::lock_guard lock(m_mutex);
    m_onSignal = std::move(action);
  }
  std::vector<Signal> Signals() const {
    std::lock_guard lock(m_mutex);
    return m_signals;
  }
  std::vector<bool> Scrambled() const {
    std::lock_guard lock(m_mutex);
    return m_scrambled;
  }
  std::vector<LONG> Events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
  }
  std::vector<std::vector<uint8_t>> AudioSamples() const {
    std::lock_guard lock(m_mutex);
    return m_audio;
  }
  LONG AudioFormatSize() const {
    std::lock_guard lock(m_mutex);
    return m_audioFormatSize;
  }
  LONG AudioChannels() const {
    std::lock_guard lock(m_mutex);
    return m_audioChannels;
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<Signal> m_signals;
  std::vector<bool> m_scrambled;
  std::vector<LONG> m_events;
  std::vector<std::vector<uint8_t>> m_audio;
  LONG m_audioFormatSize = 0;
  LONG m_audioChannels = 0;
  std::function<void()> m_onSignal;
};

// The process log written to a file of a temporary settings root.
class TestLog {
 public:
  TestLog() {
    m_root.WriteSettings("user", "LogLevel=1\nFileName=\"" + Path() + "\"\n");
    LogFileInit();
  }
  ~TestLog() { LogFileShutdown(); }
  std::string Path() const { return (m_root.Path() / "test.log").string(); }
  std::string Text() const {
    std::ifstream in(Path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Contains(const std::string& text) const { return Text().find(text) != std::string::npos; }
  const TempRoot& Root() const { return m_root; }

 private:
  TempRoot m_root;
};

// Advances `clock` in steps until `ready()`; false when a worker did not
// get there within a generous real-time bound.
template <class Ready>
bool DriveClockUntil(ManualClock& clock, Ready ready, uint64_t stepMs = 10) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    clock.Advance(stepMs);
    std::this_thread::yield();
  }
  return true;
}
