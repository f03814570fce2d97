#pragma once
// A host callback that records what it receives. With the gate closed, OnData
// waits inside the call until the test opens it, so a test can hold the
// worker at a known point.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "interfaces/IKxTransportStreamSink.h"
#include "platform/com/ComObject.h"

class CRecordingCallback : public ITransportStreamSinkCallback {
 public:
  using InterfaceMap = ::InterfaceMap<ITransportStreamSinkCallback>;
  virtual ~CRecordingCallback() = default;

  HRESULT OnData(const uint8_t* data, LONG size) override {
    std::unique_lock lock(m_mutex);
    ++m_calls;
    m_cv.notify_all();
    m_cv.wait(lock, [this] { return m_gateOpen; });
    m_data.insert(m_data.end(), data, data + size);
    m_largestCall = std::max<size_t>(m_largestCall, static_cast<size_t>(size));
    m_cv.notify_all();
    return S_OK;
  }
  HRESULT OnStopDeliver() override { return Note("stop "); }
  HRESULT OnStartDeliver() override { return Note("start "); }

  void SetGate(bool open) {
    std::lock_guard lock(m_mutex);
    m_gateOpen = open;
    m_cv.notify_all();
  }
  // Waits (real time, generous) until OnData was entered `calls` times.
  bool WaitForCalls(int calls) {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::seconds(20), [&] { return m_calls >= calls; });
  }
  bool WaitForBytes(size_t bytes) {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::seconds(20), [&] { return m_data.size() >= bytes; });
  }
  std::vector<uint8_t> Data() {
    std::lock_guard lock(m_mutex);
    return m_data;
  }
  std::string Notes() {
    std::lock_guard lock(m_mutex);
    return m_notes;
  }
  size_t LargestCall() {
    std::lock_guard lock(m_mutex);
    return m_largestCall;
  }

 private:
  HRESULT Note(const char* text) {
    std::lock_guard lock(m_mutex);
    m_notes += text;
    return S_OK;
  }

  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_gateOpen = true;
  int m_calls = 0;
  size_t m_largestCall = 0;
  std::vector<uint8_t> m_data;
  std::string m_notes;
};
